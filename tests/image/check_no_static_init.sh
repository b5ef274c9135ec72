#!/usr/bin/env bash
# Refuses objects of the launcher that need code run before or after the entry: LAUNCH.EXE has no
# C runtime to run static constructors or destructors, so such an object would be silently wrong.
#   check_no_static_init.sh OBJDUMP OBJECT...
set -uo pipefail
objdump=$1
shift
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
exit $status
