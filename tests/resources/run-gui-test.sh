#!/usr/bin/env bash
# run-gui-test.sh <wine-run> <wine prefix> <program> [arguments...]
# Runs a Windows test program that opens windows under Wine (through
# scripts/lib/wine-run), in a prefix of its own: no server of another test,
# started without a display, is shared. Uses the caller's X display if there
# is one, otherwise a private Xvfb (scripts/lib/xvfb.sh, beside wine-run)
# that it ends when the program and its prefix's Wine server are done.
wine_run=$1
prefix=$2
shift 2
# shellcheck source=../../scripts/lib/xvfb.sh
source "$(dirname "$wine_run")/xvfb.sh"

if [ -z "${DISPLAY:-}" ]; then
    start_private_xvfb || exit 1
fi

"$wine_run" "$prefix" "$@"
status=$?

# The prefix's server and its desktop process hold the display until they end.
"$wine_run" --wait "$prefix"
stop_private_xvfb
exit $status
