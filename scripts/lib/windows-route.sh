#!/usr/bin/env bash
# How this machine runs Windows programs, decided by running Wine's 32-bit
# loader (itself a 32-bit Linux program, which every Windows program of ours
# goes through):
#   direct  the loader runs: Wine runs here;
#   guest   the kernel refuses it as a program it cannot execute (ENOEXEC, as
#           a kernel without 32-bit support does): Wine runs inside a small
#           x86-64 Linux guest under qemu, whose own kernel runs 32-bit programs.
# Any other failure of the loader is a failure, never a reason to change route.
#
# QODEX_WINE_LOADER names another loader to try (default /usr/lib/wine/wine),
# so that the guest route can be shown on a machine that runs 32-bit programs:
# point it at a program for another processor.
#
# Sourced: qodex_windows_route sets QODEX_ROUTE (direct or guest) and
# QODEX_ROUTE_WHY, and returns non-zero (with QODEX_ROUTE_WHY saying what
# went wrong) when the loader fails in any other way.
# Run: prints the route and why; exits 0 for a route, 1 for a failure.

qodex_windows_route() {
    local loader=${QODEX_WINE_LOADER:-/usr/lib/wine/wine} out status
    QODEX_ROUTE=
    if [ ! -e "$loader" ]; then
        QODEX_ROUTE_WHY="Wine's 32-bit loader $loader is not installed"
        return 1
    fi
    # bash says why exec failed; in the C locale ENOEXEC reads "Exec format
    # error" (a refused binary), distinct from a missing or unreadable file.
    out=$(LC_ALL=C bash -c 'exec "$0" --version' "$loader" 2>&1)
    status=$?
    if [ $status -eq 126 ] && [[ $out == *"cannot execute binary file: Exec format error"* ]]; then
        status=200
        out="Exec format error"
    fi
    case $status in
    0)
        if [[ $out == wine-* ]]; then
            QODEX_ROUTE=direct
            QODEX_ROUTE_WHY="Wine's 32-bit loader runs here ($loader --version: $out)"
            return 0
        fi
        QODEX_ROUTE_WHY="$loader --version printed '$out', not a Wine version"
        return 1
        ;;
    200)
        QODEX_ROUTE=guest
        QODEX_ROUTE_WHY="this kernel refuses 32-bit programs (running $loader: $out); Wine runs in a qemu guest"
        return 0
        ;;
    *)
        QODEX_ROUTE_WHY="$loader --version failed (status $status): $out"
        return 1
        ;;
    esac
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    if qodex_windows_route; then
        echo "windows route: $QODEX_ROUTE: $QODEX_ROUTE_WHY"
        exit 0
    fi
    echo "windows route: none: $QODEX_ROUTE_WHY" >&2
    exit 1
fi
