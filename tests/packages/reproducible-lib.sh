# Sourced by the reproducibility checks and the builds the tests make again: a folder of their
# own ($work, removed at the end), a build step's output shown only when it fails, and the
# comparison of a second build's file with the first build's.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# same_build FIRST SECOND: whether the two are the same byte for byte, said as PASS or FAIL.
same_build() {
    if cmp -s "$1" "$2"; then
        echo "PASS: $(basename "$1") is the same from a second build in another folder"
        return 0
    fi
    echo "FAIL: $(basename "$1") differs from a second build in another folder" >&2
    return 1
}

# quietly COMMAND...: runs the build step with its output kept back, shown only if it fails.
quietly() {
    "$@" >"$work/step.log" 2>&1 || {
        local status=$?
        cat "$work/step.log" >&2
        return "$status"
    }
}
