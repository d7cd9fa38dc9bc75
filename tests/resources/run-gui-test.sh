#!/bin/sh
# run-gui-test.sh <wine-run> <wine prefix> <program> [arguments...]
# Runs a Windows test program that opens windows under Wine (through
# scripts/lib/wine-run), in a prefix of its own: no server of another test,
# started without a display, is shared. Uses the caller's X display if there
# is one, otherwise a private Xvfb that it ends (by its process id) when the
# program and its prefix's Wine server are done.
wine_run=$1
prefix=$2
shift 2

xvfb=
dir=
if [ -z "${DISPLAY:-}" ]; then
    dir=$(mktemp -d "${TMPDIR:-/tmp}/qodex-display.XXXXXX") || exit 1
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$dir/display" >"$dir/log" 2>&1 &
    xvfb=$!
    tries=0
    while [ ! -s "$dir/display" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ] || ! kill -0 $xvfb 2>/dev/null; then
            echo "run-gui-test: Xvfb did not start" >&2
            cat "$dir/log" >&2
            kill $xvfb 2>/dev/null
            rm -rf "$dir"
            exit 1
        fi
        sleep 0.1
    done
    DISPLAY=:$(cat "$dir/display")
    export DISPLAY
fi

"$wine_run" "$prefix" "$@"
status=$?

# The prefix's server and its desktop process hold the display until they end.
"$wine_run" --wait "$prefix"
if [ -n "$xvfb" ]; then
    kill $xvfb 2>/dev/null
    wait $xvfb 2>/dev/null
    rm -rf "$dir"
fi
exit $status
