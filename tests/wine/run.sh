#!/usr/bin/env bash
# Runs one group of the Wine scenarios on the built LAUNCH.EXE.
#   run.sh WORK BUILD_DIR GROUP
# A screenshot of the group's first "Launch Error" box goes to WORK/screenshots/GROUP.png.
set -euo pipefail
work=$(realpath -m "$1") build=$(realpath "$2") group=$3
[[ -f $work/env ]] || { echo "run.sh: no Wine prefix in $work; prefix.sh setup makes it" >&2; exit 1; }
# shellcheck disable=SC1091
source "$work/env"
root=$WINEPREFIX/drive_c/launch-test
mkdir -p "$root/bin" "$root/start"
cp "$build/LAUNCH.EXE" "$root/bin/LAUNCH.EXE"
cp "$build/standin.exe" "$root/standin.exe"
cp "$build/scenarios.exe" "$root/scenarios.exe"
bmp=$work/screenshots/$group.bmp
rm -f "$bmp"
# Wine's own processes outlive the run: they get a file, not CTest's output.
log=$work/$group.log
status=0
(cd "$root" && wine 'C:\launch-test\scenarios.exe' "$group" --screenshot "Z:${bmp//\//\\}") \
    </dev/null >"$log" 2>&1 || status=$?
cat "$log"
if [[ -f $bmp ]]; then
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp" && echo "screenshot: ${bmp%.bmp}.png"
fi
exit $status
