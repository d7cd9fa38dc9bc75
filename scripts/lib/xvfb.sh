#!/usr/bin/env bash
# A private Xvfb display for Wine's windows: never the user's own display, and
# a number that no other X server holds.
#
# Sourced (scripts/test, scripts/run):
#   start_private_xvfb    starts one and exports DISPLAY; its pid is in QODEX_XVFB_PID
#   stop_private_xvfb     ends that Xvfb (by its pid) and restores DISPLAY
#
# Run (the end-to-end tests' ctest fixture):
#   xvfb.sh start STATE_FILE [WINEPREFIX] starts one and writes DISPLAY=... and
#                                         XVFB_PID=... to STATE_FILE; with WINEPREFIX,
#                                         also starts Wine in that prefix on it
#   xvfb.sh exec STATE_FILE COMMAND...    runs COMMAND on the display of STATE_FILE
#   xvfb.sh stop STATE_FILE [WINEPREFIX]  waits (bounded) for that prefix's Wine
#                                         server to end, then ends the Xvfb
# Wine runs through wine-run, beside this file.

# qodex_xvfb_launch: starts Xvfb on the first free display from 99 on; sets
# qodex_xvfb_display (":N") and qodex_xvfb_pid. Xvfb itself reports the
# display number on a file descriptor once it accepts connections.
qodex_xvfb_launch() {
    local n ready pid
    ready=$(mktemp "${TMPDIR:-/tmp}/qodex-xvfb.XXXXXX") || return 1
    for n in $(seq 99 199); do
        # A lock file or socket means the number is taken (maybe by a server
        # of someone else's that is starting right now).
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        : >"$ready"
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset -displayfd 3 \
            3>"$ready" </dev/null >/dev/null 2>&1 &
        pid=$!
        local waited=0
        while [ ! -s "$ready" ] && kill -0 "$pid" 2>/dev/null && [ $waited -lt 100 ]; do
            sleep 0.1
            waited=$((waited + 1))
        done
        if [ -s "$ready" ] && kill -0 "$pid" 2>/dev/null; then
            rm -f "$ready"
            qodex_xvfb_display=":$n"
            qodex_xvfb_pid=$pid
            return 0
        fi
        # Lost a race for this number, or Xvfb failed: try the next one.
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -f "$ready"
    echo "xvfb: no free display between :99 and :199, or Xvfb does not start" >&2
    return 1
}

# qodex_xvfb_alive PID: the process runs (a zombie that waits for its parent
# to collect it does not count).
qodex_xvfb_alive() {
    local state
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)
    [ -n "$state" ] && [ "$state" != Z ]
}

# qodex_xvfb_end PID: ends our own Xvfb and waits until it is gone.
qodex_xvfb_end() {
    local pid=$1 waited=0
    kill "$pid" 2>/dev/null || return 0
    while qodex_xvfb_alive "$pid" && [ $waited -lt 50 ]; do
        sleep 0.1
        waited=$((waited + 1))
    done
    qodex_xvfb_alive "$pid" && kill -9 "$pid" 2>/dev/null
    return 0
}

start_private_xvfb() {
    qodex_xvfb_launch || return 1
    QODEX_XVFB_OLD_DISPLAY=${DISPLAY-}
    QODEX_XVFB_PID=$qodex_xvfb_pid
    export DISPLAY=$qodex_xvfb_display
}

stop_private_xvfb() {
    [ -n "${QODEX_XVFB_PID-}" ] || return 0
    qodex_xvfb_end "$QODEX_XVFB_PID"
    wait "$QODEX_XVFB_PID" 2>/dev/null
    unset QODEX_XVFB_PID
    if [ -n "${QODEX_XVFB_OLD_DISPLAY-}" ]; then
        export DISPLAY=$QODEX_XVFB_OLD_DISPLAY
    else
        unset DISPLAY
    fi
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -u
    command=${1-}
    state=${2-}
    if [ -z "$command" ] || [ -z "$state" ]; then
        echo "usage: xvfb.sh start|exec|stop STATE_FILE ..." >&2
        exit 2
    fi
    shift 2
    case $command in
    start)
        # A display left over from an interrupted run of ours goes first.
        if [ -f "$state" ]; then
            old_pid=$(sed -n 's/^XVFB_PID=//p' "$state")
            [ -n "$old_pid" ] && [ "$(cat "/proc/$old_pid/comm" 2>/dev/null)" = Xvfb ] && qodex_xvfb_end "$old_pid"
            rm -f "$state"
        fi
        qodex_xvfb_launch || exit 1
        printf 'DISPLAY=%s\nXVFB_PID=%s\n' "$qodex_xvfb_display" "$qodex_xvfb_pid" >"$state"
        echo "xvfb: display $qodex_xvfb_display, pid $qodex_xvfb_pid"
        if [ $# -ge 1 ]; then
            # The first start of Wine in a prefix takes long; do it here, not
            # inside a test's time.
            DISPLAY=$qodex_xvfb_display "$(dirname "$0")/wine-run" "$1" wineboot -i >/dev/null 2>&1 ||
                echo "xvfb: wineboot failed" >&2
        fi
        ;;
    exec)
        display=$(sed -n 's/^DISPLAY=//p' "$state" 2>/dev/null)
        if [ -z "$display" ]; then
            echo "xvfb: no display recorded in $state" >&2
            exit 1
        fi
        export DISPLAY=$display
        exec "$@"
        ;;
    stop)
        pid=$(sed -n 's/^XVFB_PID=//p' "$state" 2>/dev/null)
        if [ $# -ge 1 ]; then
            # The prefix's server and desktop end a few seconds after the last
            # program, while their display is still there. The prefix is the
            # tests' own: one that hangs is ended.
            "$(dirname "$0")/wine-run" --wait "$1"
        fi
        if [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ]; then
            qodex_xvfb_end "$pid"
            echo "xvfb: ended pid $pid"
        fi
        rm -f "$state"
        ;;
    *)
        echo "xvfb: unknown command $command" >&2
        exit 2
        ;;
    esac
fi
