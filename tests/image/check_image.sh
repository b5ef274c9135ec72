#!/usr/bin/env bash
# Checks a built LAUNCH.EXE against the rules of the product image, as llvm-readobj reads it.
#   check_image.sh LLVM_READOBJ LAUNCH.EXE i386|x86-64 [signed]
# Every rule broken is named; the exit code is 1 when any is. A signed image must hold an
# Authenticode signature in its certificate table, which lies past the image's last section and
# is not counted in its size; every other rule is the same.
set -uo pipefail
readobj=$1 image=$2 arch=$3 signed=${4:-}

report=$("$readobj" --file-headers --coff-imports --sections --coff-basereloc "$image") || {
    echo "FAIL: $readobj cannot read $image" >&2
    exit 1
}
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
field() { # the value of "Name: value" in the headers
    awk -v name="$1" '$1 == name ":" { print $2; exit }' <<<"$report"
}
expect() { # expect FIELD VALUE
    local value
    value=$(field "$1")
    [[ "$value" == "$2" ]] || fail "$1 is '$value', not '$2'"
}

# The kind of image.
if [[ $arch == i386 ]]; then
    expect Format COFF-i386
    expect Magic 0x10B
    expect MajorSubsystemVersion 4
    expect MinorSubsystemVersion 0
    expect MajorOperatingSystemVersion 4
    expect MinorOperatingSystemVersion 0
    limit=3072 slot=4
else
    expect Format COFF-x86-64
    expect Magic 0x20B
    limit=4096 slot=8
fi
size=$(stat -c %s "$image")
if [[ $signed == signed ]]; then
    [[ $(field CertificateTableSize) != 0x0 ]] || fail "the signed image has no certificate table"
    size=$((size - $(field CertificateTableSize)))
fi
((size <= limit)) || fail "the image is $size bytes, more than $limit"
expect Subsystem IMAGE_SUBSYSTEM_WINDOWS_GUI
entry=$(field AddressOfEntryPoint)
[[ -n "$entry" && "$entry" != 0x0 ]] || fail "no entry point"

# Nothing but code, constants and imports: no exports, resources, TLS or debug data.
directories="ExportTable ResourceTable TLSTable Debug LoadConfigTable DelayImportDescriptor
    CLRRuntimeHeader"
[[ $signed == signed ]] || directories+=" CertificateTable"
for directory in $directories; do
    expect "${directory}RVA" 0x0
    expect "${directory}Size" 0x0
done

# Hardening: NX and ASLR, and no section both writable and executable.
grep -q 'IMAGE_DLL_CHARACTERISTICS_NX_COMPAT' <<<"$report" || fail "NX is not marked"
grep -q 'IMAGE_DLL_CHARACTERISTICS_DYNAMIC_BASE' <<<"$report" || fail "ASLR is not marked"
grep -q 'IMAGE_FILE_RELOCS_STRIPPED' <<<"$report" && fail "relocations are stripped: ASLR cannot move it"
awk '
    /^  Section \{/ { name = ""; write = 0; exec = 0 }
    /^    Name:/ { name = $2 }
    /IMAGE_SCN_MEM_WRITE/ { write = 1 }
    /IMAGE_SCN_MEM_EXECUTE/ { exec = 1 }
    /^  \}/ { if (write && exec) print name }
' <<<"$report" | while read -r section; do
    echo "FAIL: section $section is both writable and executable" >&2
    echo x
done | grep -q x && failures=$((failures + 1))
for section in .tls .rsrc .edata .debug .CRT; do
    grep -qE "^    Name: \\$section[ (]" <<<"$report" && fail "the image has a $section section"
done

# The directories the loader needs: the import descriptors (one a library and the one that ends
# the list), the address table (a slot an operation and one that ends each library's list), in a
# section the loader may write, and the base relocations that ASLR moves the image by.
expect ImportTableSize 0x$(printf %X $(((3 + 1) * 20)))
expect IATSize 0x$(printf %X $(((14 + 3) * slot)))
iat=$(field IATRVA)
writable=no
while read -r name start extent write; do
    ((iat >= start && iat < start + extent)) && writable=$write
done < <(awk '
    /^  Section \{/ { name = ""; write = "no" }
    /^    Name:/ { name = $2 }
    /^    VirtualAddress:/ { start = $2 }
    /^    VirtualSize:/ { size = $2 }
    /IMAGE_SCN_MEM_WRITE/ { write = "yes" }
    /^  \}/ { print name, start, size, write }
' <<<"$report")
[[ $writable == yes ]] || fail "the import address table at $iat is not in a writable section"
[[ $(field BaseRelocationTableRVA) != 0x0 && $(field BaseRelocationTableSize) != 0x0 ]] ||
    fail "no base relocation directory"
grep -q '^  Entry {' <<<"$report" || fail "the base relocation directory holds no relocation"

# Exactly the operations the launcher calls, from the three system libraries.
imports=$(awk '
    /^  Name:/ { library = toupper($2) }
    /^  Symbol:/ { print library " " $2 }
' <<<"$report" | sort)
expected=$(sort <<'LIST'
ADVAPI32.DLL RegCloseKey
ADVAPI32.DLL RegOpenKeyExA
ADVAPI32.DLL RegQueryValueExA
KERNEL32.DLL ExitProcess
KERNEL32.DLL GetACP
KERNEL32.DLL GetCPInfo
KERNEL32.DLL GetCommandLineA
KERNEL32.DLL GetCurrentDirectoryA
KERNEL32.DLL SetCurrentDirectoryA
KERNEL32.DLL SetEnvironmentVariableA
KERNEL32.DLL WinExec
KERNEL32.DLL lstrcpyA
USER32.DLL MessageBoxA
USER32.DLL wsprintfA
LIST
)
if [[ "$imports" != "$expected" ]]; then
    fail "the imports differ from the fourteen operations the launcher calls:"
    diff <(echo "$expected") <(echo "$imports") | grep '^[<>]' | sed 's/^</  missing:/; s/^>/  extra:  /' >&2
fi

if ((failures)); then
    echo "$image: $failures rule(s) broken" >&2
    exit 1
fi
echo "$image: $arch image${signed:+, $signed}, $size bytes, every rule met"
