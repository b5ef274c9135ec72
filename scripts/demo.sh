#!/usr/bin/env bash
# The main job: builds LAUNCH.EXE and runs it under Wine, in a throwaway prefix where a demo
# product is registered, and tells in plain words what happened.
#   scripts/demo.sh [--not-registered | --missing-folder] [ARGUMENTS...]
# ARGUMENTS go to the launcher: scripts/demo.sh EDITOR starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=registered
case "${1:-}" in
--not-registered) mode=not-registered; shift ;;
--missing-folder) mode=missing-folder; shift ;;
--help | -h)
    sed -n '2,6p' "$0" | sed 's/^# \{0,1\}//'
    exit 0
    ;;
esac

scripts/install-deps.sh windows wine
echo "Building LAUNCH.EXE ..."
cmake --preset win32 >/dev/null
cmake --build --preset win32 >/dev/null
echo "The image it runs: build/win32/LAUNCH.EXE, $(stat -c %s build/win32/LAUNCH.EXE) bytes (PE32, i386),"
echo "under 32-bit Wine."

work=$(mktemp -d /tmp/launch-demo.XXXXXX)
trap 'tests/wine/prefix.sh teardown "$work" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
echo "Making a throwaway Wine prefix ..."
tests/wine/prefix.sh setup "$work" >/dev/null
echo
status=0
tests/wine/run.sh "$work" build/win32 demo "$mode" "$@" >"$work/demo.out" || status=$?
grep -v '^screenshot:' "$work/demo.out" || true
if [[ -f $work/screenshots/$mode.png ]]; then
    mkdir -p build/demo
    cp "$work/screenshots/$mode.png" build/demo/launch-error.png
    echo "A screenshot of the box: build/demo/launch-error.png"
fi
exit $status
