#!/bin/sh
# with-display.sh <command...>: runs a command that opens windows. It uses
# the caller's X display if there is one; otherwise it starts a private Xvfb
# for the command and ends that one server (by its process id) afterwards.
# QODEX_WINEPREFIX, if set, names the Wine prefix of the command: a server
# of that prefix started without a display (by an earlier test) must end
# before the command runs, and the command's own before the display ends.
if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi

wait_for_wine() {
    if [ -n "${QODEX_WINEPREFIX:-}" ]; then
        WINEPREFIX=$QODEX_WINEPREFIX timeout 30 wineserver -w
    fi
}
wait_for_wine

dir=$(mktemp -d "${TMPDIR:-/tmp}/qodex-display.XXXXXX") || exit 1
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$dir/display" >"$dir/log" 2>&1 &
xvfb=$!
tries=0
while [ ! -s "$dir/display" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 $xvfb 2>/dev/null; then
        echo "with-display: Xvfb did not start" >&2
        cat "$dir/log" >&2
        kill $xvfb 2>/dev/null
        rm -rf "$dir"
        exit 1
    fi
    sleep 0.1
done
DISPLAY=:$(cat "$dir/display")
export DISPLAY

"$@"
status=$?

wait_for_wine
kill $xvfb 2>/dev/null
wait $xvfb 2>/dev/null
rm -rf "$dir"
exit $status
