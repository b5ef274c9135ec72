#!/usr/bin/env bash
# Every Windows call the launcher itself makes in one whole launch, read from Wine's relay trace
# (calls whose return address lies in LAUNCH.EXE), and compared with the list it must be: the
# registry is only opened at the product's key, read at "AppPath" and closed, and nothing else
# is asked of Windows but what the launch needs.
#   calls.sh WORK BUILD_DIR
set -euo pipefail
work=$(realpath -m "$1") build=$(realpath "$2")
[[ -f $work/env ]] || { echo "calls.sh: no Wine prefix in $work; prefix.sh setup makes it" >&2; exit 1; }
# shellcheck disable=SC1091
source "$work/env"
folder='C:\launch-calls'
root=$WINEPREFIX/drive_c/launch-calls
mkdir -p "$root"
cp "$build/LAUNCH.EXE" "$root/LAUNCH.EXE"
# The launcher's own registry view, and where in memory its code lies (the linker's image base).
if [[ $(od -An -tx2 -j $(($(od -An -tu4 -j 60 -N4 "$root/LAUNCH.EXE") + 24)) -N2 "$root/LAUNCH.EXE" | tr -d ' ') == 010b ]]; then
    view=/reg:32 code='ret=004[0-9a-f]{5}$'
else
    view=/reg:64 code='ret=0*14000[0-9a-f]{4}$'
fi
wine reg delete 'HKLM\SOFTWARE\Talvox' /f $view >/dev/null 2>&1 || true
wine reg add 'HKLM\SOFTWARE\Talvox\Ombrik\Quarlo\1.000' /v AppPath /d "$folder" /f $view \
    >/dev/null 2>&1
trace=$work/calls.trace
(cd "$root" && WINEDEBUG=+relay wine 'C:\launch-calls\LAUNCH.EXE' EDITOR) </dev/null >"$trace" 2>&1 || true
wine reg delete 'HKLM\SOFTWARE\Talvox' /f $view >/dev/null 2>&1 || true
# "0128:Call advapi32.RegOpenKeyExA(80000002,0040141c "SOFTWARE\\...",...) ret=0040112f" becomes
# "advapi32.RegOpenKeyExA "SOFTWARE\\..."": the operation and the texts it was given.
seen=$(grep -aE "^[0-9a-f]+:Call [A-Za-z0-9_]+\.[A-Za-z]+\(.*\) $code" "$trace" |
    while IFS= read -r line; do
        name=${line#*:Call }
        name=${name%%(*}
        texts=$(grep -oE '"[^"]*"' <<<"${line%) ret=*}" | tr '\n' ' ')
        echo "${name,,}${texts:+ ${texts% }}"
    done)
expected='kernel32.getacp
kernel32.getcpinfo
kernel32.getcommandlinea
advapi32.regopenkeyexa "SOFTWARE\\Talvox\\Ombrik\\Quarlo\\1.000"
advapi32.regqueryvalueexa "AppPath"
kernel32.lstrcpya "C:\\launch-calls"
advapi32.regclosekey
kernel32.setcurrentdirectorya "C:\\launch-calls"
kernel32.getcurrentdirectorya
kernel32.setenvironmentvariablea "=C:" "C:\\launch-calls"
kernel32.winexec "EDITOR.EXE"
kernel32.exitprocess'
if [[ "$seen" == "$expected" ]]; then
    echo "the launcher's calls, as Wine relays them:"
    echo "$seen"
    echo "1 passed, 0 failed"
else
    echo "FAIL: the launcher's calls differ from the launch's own:"
    diff <(echo "$expected") <(echo "$seen") || true
    echo "0 passed, 1 failed"
    exit 1
fi
