#!/usr/bin/env bash
# run-headless.sh PREFIX QODEX_RUN_EXE QODEX_EXE SCREENSHOT_XWD SCREENSHOT_NAME
# scripts/run without a display, run where Windows programs run (this
# machine or the guest): starts a private Xvfb, starts Qodex.exe through the
# driver qodex-run (command tail from QODEX_TAIL) in the Wine prefix PREFIX,
# waits for its window, saves the screen as an X window dump in
# SCREENSHOT_XWD (announced as SCREENSHOT_NAME; scripts/run makes the PNG),
# lets the driver print what the window shows and close it as a user would,
# and ends with Qodex.exe's exit code. Nothing it started is left running.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1 qodex_run_exe=$2 qodex_exe=$3 screenshot=$4 screenshot_name=$5
# shellcheck source=xvfb.sh
source "$here/xvfb.sh"

start_private_xvfb || { echo "run: no private display" >&2; exit 1; }
echo "run: private display $DISPLAY"
signals=$(mktemp -d "${TMPDIR:-/tmp}/qodex-run.XXXXXX")
ready=$signals/ready
go=$signals/go
rm -f "$screenshot"

"$here/wine-run" "$prefix" "$qodex_run_exe" "$qodex_exe" "$ready" "$go" &
driver=$!
cleanup() {
    touch "$go"
    if kill -0 "$driver" 2>/dev/null; then
        sleep 2
        kill "$driver" 2>/dev/null
    fi
    wait "$driver" 2>/dev/null
    # The prefix's server, and the desktop it holds on our display, end
    # with the last Wine program; give them a moment, end them if they hang.
    "$here/wine-run" --wait "$prefix"
    stop_private_xvfb
    rm -rf "$signals"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The driver creates the ready file once the window shows its texts.
while [ ! -e "$ready" ] && kill -0 "$driver" 2>/dev/null; do
    sleep 0.1
done
if [ -e "$ready" ]; then
    sleep 0.5  # Wine hands the painted window to the X server a moment later
    if xwd -root -silent -display "$DISPLAY" -out "$screenshot"; then
        echo "screenshot: $screenshot_name"
    else
        echo "run: no screenshot" >&2
    fi
    touch "$go"
fi
wait "$driver"
