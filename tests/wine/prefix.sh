#!/usr/bin/env bash
# The Wine scenarios' world, made once per test run and ended after it.
#   prefix.sh setup WORK    a private wine64 prefix in WORK/prefix, drives D: and E: and the UNC
#                           share \\server\share on folders of WORK, a persistent wineserver and
#                           an Xvfb display wide enough for a box with a 259-character folder;
#                           WORK/env holds what the runs need
#   prefix.sh teardown WORK ends the wineserver and the display
set -euo pipefail
action=$1 work=$(realpath -m "$2")

if [[ $action == teardown ]]; then
    [[ -f $work/env ]] || exit 0
    # shellcheck disable=SC1091
    source "$work/env"
    wineserver -k 2>/dev/null || true
    [[ -n ${XVFB_PID:-} ]] && kill "$XVFB_PID" 2>/dev/null || true
    rm -f "$work/env"
    exit 0
fi

for tool in wine wineboot wineserver Xvfb; do
    command -v "$tool" >/dev/null || {
        echo "prefix.sh: $tool is missing; run scripts/install-deps.sh wine" >&2
        exit 1
    }
done
if [[ -f $work/env ]]; then
    "$0" teardown "$work"
fi
rm -rf "$work"
mkdir -p "$work/drive_d" "$work/drive_e" "$work/unc_share" "$work/screenshots"
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
started=$(date +%s)
wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; exit 1; }
wineserver -w
ln -sfn "$work/drive_d" "$WINEPREFIX/dosdevices/d:"
ln -sfn "$work/drive_e" "$WINEPREFIX/dosdevices/e:"
mkdir -p "$WINEPREFIX/dosdevices/unc/server"
ln -sfn "$work/unc_share" "$WINEPREFIX/dosdevices/unc/server/share"

display=
for number in $(seq 90 140); do
    if [[ ! -e /tmp/.X$number-lock && ! -e /tmp/.X11-unix/X$number ]]; then
        display=$number
        break
    fi
done
[[ -n $display ]] || { echo "prefix.sh: no free X display between :90 and :140" >&2; exit 1; }
Xvfb ":$display" -screen 0 3200x1200x24 -nolisten tcp </dev/null >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 1 100); do
    [[ -e /tmp/.X11-unix/X$display ]] && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
export DISPLAY=:$display
# Stays until teardown, so that each run starts quickly. Nothing left running may hold the
# caller's output open, or CTest would wait for it.
wineserver -p </dev/null >/dev/null 2>&1

cat >"$work/env" <<ENV
export WINEPREFIX='$WINEPREFIX' WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
export DISPLAY=':$display' XVFB_PID=$xvfb
ENV
echo "wine prefix ready in $(($(date +%s) - started)) s; display :$display"
