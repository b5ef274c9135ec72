#!/usr/bin/env bash
# Shows that check_objects.sh stops the link for each fault it guards against: it must refuse
# each object of tests/image/refused, naming the fault, and accept the launcher's own objects.
#   check_objects_refuses.sh CXX OBJDUMP NM OBJECT...
set -uo pipefail
cxx=$1 objdump=$2 nm=$3
shift 3
here=$(dirname "$0")
work=$(mktemp -d /tmp/launch-refused.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
refuse() { # refuse SOURCE EXPECTED-MESSAGE
    local object=$work/$(basename "$1" .cpp).obj
    "$cxx" -std=c++20 -Os -c "$here/refused/$1" -o "$object" || { failures=$((failures + 1)); return; }
    if output=$("$here/check_objects.sh" "$objdump" "$nm" "$object" 2>&1); then
        echo "FAIL: $1 was accepted"
        failures=$((failures + 1))
    elif [[ $output != *"$2"* ]]; then
        echo "FAIL: $1 was refused for another reason: $output"
        failures=$((failures + 1))
    else
        echo "refused $1: $output"
    fi
}

refuse static_constructor.cpp "needs code run before the entry (sections: .ctors)"
refuse stub_call.cpp "ExitProcess"
"$here/check_objects.sh" "$objdump" "$nm" "$@" || failures=$((failures + 1))
exit $((failures > 0))
