#!/bin/bash
# Runs a command on a virtual X display of its own. Xvfb picks a free display number itself
# (-displayfd), so runs started side by side never race for the same one, as xvfb-run -a can.
# The command finds the screen's contents, as an XWD image, in the file $XVFB_FRAMEBUFFER.
#   [XVFB_SCREEN=WIDTHxHEIGHTxDEPTH] tests/e2e/with-xvfb.sh COMMAND...
set -u
number=$(mktemp)
framebuffer=$(mktemp -d)
# -noreset: otherwise the server resets whenever its last client leaves, and a program started
# at that moment cannot connect.
Xvfb -displayfd 3 -noreset -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp \
    -fbdir "$framebuffer" 3>"$number" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$number" "$framebuffer"' EXIT
for _ in $(seq 200); do
    [ -s "$number" ] && break
    kill -0 "$server" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.05
done
[ -s "$number" ] || { echo "Xvfb gave no display number" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$number")" XVFB_FRAMEBUFFER="$framebuffer/Xvfb_screen0"
unset XAUTHORITY
for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.05
done
"$@"
