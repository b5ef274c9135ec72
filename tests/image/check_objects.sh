#!/usr/bin/env bash
# Checks the launcher's objects before they are linked into LAUNCH.EXE.
#   check_objects.sh OBJDUMP NM OBJECT...
# - No object needs code run before or after the entry (.ctors, .dtors, .init_array, .fini_array):
#   there is no C runtime to run static constructors or destructors, so such an object would be
#   silently wrong.
# - Every symbol the objects take from outside is a Windows operation's address-table entry
#   (__imp_...): the image carries no jump stubs of the import libraries, so a call through one,
#   or to anything else that is not there (memset, a runtime helper), must not reach the link.
set -uo pipefail
objdump=$1 nm=$2
shift 2
status=0
for object in "$@"; do
    sections=$("$objdump" -h "$object") || { echo "FAIL: $objdump cannot read $object" >&2; exit 1; }
    found=$(awk '$1 ~ /^[0-9]+$/ && $2 ~ /^\.(ctors|dtors|init_array|fini_array)/ { print $2 }' \
        <<<"$sections" | sort -u | tr '\n' ' ')
    if [[ -n $found ]]; then
        echo "FAIL: $object needs code run before the entry (sections: ${found% })" >&2
        status=1
    fi
done
defined=$("$nm" --defined-only "$@" | awk 'NF == 3 { print $3 }' | sort -u) &&
    needed=$("$nm" --undefined-only "$@" | awk 'NF == 2 { print $2 }' | sort -u) ||
    { echo "FAIL: $nm cannot read the objects" >&2; exit 1; }
outside=$(comm -23 <(echo "$needed") <(echo "$defined") | grep -v '^__imp_')
if [[ -n $outside ]]; then
    echo "FAIL: the launcher needs what the image does not hold:" $outside >&2
    status=1
fi
exit $status
