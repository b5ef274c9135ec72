#!/usr/bin/env bash
# Runs a Wine helper of ours on the built LAUNCH.EXE, in the prefix that prefix.sh made.
#   run.sh WORK BUILD_DIR HELPER NAME [ARGS...]
# runs HELPER.exe NAME --screenshot FILE [ARGS...]; a screenshot the helper takes of a
# "Launch Error" box ends up as WORK/screenshots/NAME.png.
set -euo pipefail
work=$(realpath -m "$1") build=$(realpath "$2") helper=$3 name=$4
shift 4
[[ -f $work/env ]] || { echo "run.sh: no Wine prefix in $work; prefix.sh setup makes it" >&2; exit 1; }
# shellcheck disable=SC1091
source "$work/env"
root=$WINEPREFIX/drive_c/launch-test
mkdir -p "$root/bin" "$root/start"
cp "$build/LAUNCH.EXE" "$root/bin/LAUNCH.EXE"
cp "$build/standin.exe" "$root/standin.exe"
cp "$build/$helper.exe" "$root/$helper.exe"
# Files are named for NAME, "decision/main program" as decision-main-program.
stem=${name//[\/ ]/-}
bmp=$work/screenshots/$stem.bmp
rm -f "$bmp"
# Wine's own processes outlive the run: they get a file, not the caller's output.
log=$work/$stem${LANG:+.$LANG}.log
status=0
(cd "$root" && wine "C:\\launch-test\\$helper.exe" "$name" --screenshot "Z:${bmp//\//\\}" "$@") \
    </dev/null >"$log" 2>&1 || status=$?
cat "$log"
if [[ -f $bmp ]]; then
    # ImageMagick's own name for convert, in case something else answers to the short one.
    convert=$(command -v convert-im6.q16 || command -v convert) ||
        { echo "run.sh: ImageMagick's convert is missing; run scripts/install-deps.sh wine" >&2; exit 1; }
    "$convert" "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp" && echo "screenshot: ${bmp%.bmp}.png"
fi
exit $status
