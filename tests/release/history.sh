#!/bin/bash
# The files made from the program's history: a history of two versions against the files written
# out by hand beside it, and histories with a fault, each refused with a message naming it.
#   tests/release/history.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# write_history NEWS FOLDER
write_history() {
    cmake -DNEWS="$1" -DMAINTAINER="Tester <tester@example.org>" -DOUTPUT="$2" \
        -P "$here/../../cmake/VeyloomHistory.cmake"
}

write_history "$here/history/NEWS.md" "$work"
for file in changelog releases.xml release-notes.md; do
    diff -u "$here/history/$file" "$work/$file" || failed=1
done

# A history with a fault | what the refusal says.
while IFS='|' read -r history message; do
    printf '%b\n' "$history" >"$work/wrong.md"
    if write_history "$work/wrong.md" "$work/wrong" >"$work/log" 2>&1; then
        echo "FAIL: accepted: $history"
        failed=1
    elif ! tr -s ' \n' ' ' <"$work/log" | grep -qF "$message"; then
        echo "FAIL: refused without saying \"$message\": $history"
        cat "$work/log"
        failed=1
    fi
done <<'END'
# Title\n\n- a change|wrong.md:3: a change before the first version's heading
## 1.0 (2026-13-01)\n\n- a change|wrong.md:1: 2026-13-01 is no date
## 1.0 (2026-12-00)\n\n- a change|wrong.md:1: 2026-12-00 is no date
## 1.1 (2026-12-08)\n- a change\n## 1.1 (2026-12-07)\n- a change|wrong.md:3: version 1.1 comes twice
## 1.0 (2026-12-07)\n## 0.9 (2026-11-07)\n- a change|version 1.0 names no change
## v1.0 (2026-12-07)\n- a change|wrong.md:1: neither a version's heading
## 1.0 (7 Dec 2026)\n- a change|wrong.md:1: neither a version's heading
## 1.0 (2026-12-07)\n- a change\n continued by one blank|wrong.md:3: neither a version's heading
# Title alone|wrong.md names no version
END
exit $failed
