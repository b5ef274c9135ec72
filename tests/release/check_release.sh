#!/usr/bin/env bash
# The release step, as the people who ship the product use it.
#   check_release.sh unsigned SOURCE_DIR WORK BUILT_EXE READOBJ
#       the unsigned release is the win32 build to the byte and its checksum checks, and
#       cmake --install puts the same file into bin/ of the prefix
#   check_release.sh signed SOURCE_DIR WORK CERTS READOBJ
#       signed with the test signer into WORK/signed: verifies against the test CA, keeps every
#       image rule, checks with its checksum; one byte changed, it no longer verifies
#   check_release.sh refused SOURCE_DIR WORK CERTS
#       no certificate, a wrong password, no password, a certificate that cannot sign code and
#       --timestamp without --sign each stop with their own line and leave the release as it was
set -uo pipefail
mode=$1 source_dir=$2 work=$3
passed=0 failed=0
check() { # check WHAT COMMAND...
    local what=$1
    shift
    if "$@" >"$work/last.log" 2>&1; then
        echo "ok   $what"
        passed=$((passed + 1))
    else
        echo "FAIL $what"
        sed 's/^/     /' "$work/last.log"
        failed=$((failed + 1))
    fi
}
release() { "$source_dir/scripts/release.sh" "$@"; }
refused() { # refused LINE ARGUMENTS...: release fails, says LINE, and dist is untouched
    local line=$1 before
    shift
    before=$(cat "$work/dist/SHA256SUMS")
    ! release --out "$work/dist" "$@" </dev/null 2>"$work/refused.err" >/dev/null || return 1
    grep -qF "release: $line" "$work/refused.err" || { cat "$work/refused.err"; return 1; }
    [[ $(cat "$work/dist/SHA256SUMS") == "$before" ]] && cmp "$work/dist/LAUNCH.EXE" "$work/dist.kept"
}
with_password() { # with_password PASSWORD COMMAND...
    local LAUNCH_SIGN_PASSWORD=$1
    export LAUNCH_SIGN_PASSWORD
    shift
    "$@"
}
rm -rf "$work"
mkdir -p "$work"

case $mode in
unsigned)
    built=$4
    check "the release is made" release --out "$work/dist"
    check "the unsigned release is the win32 build, byte for byte" cmp "$work/dist/LAUNCH.EXE" "$built"
    check "its SHA256SUMS line checks" bash -c "cd '$work/dist' && sha256sum -c SHA256SUMS"
    check "the release keeps the image rules" "$source_dir/tests/image/check_image.sh" "$5" \
        "$work/dist/LAUNCH.EXE" i386
    check "cmake --install puts it into bin/" bash -c "cmake --install '$(dirname "$built")' \
        --prefix '$work/prefix' && cmp '$work/prefix/bin/LAUNCH.EXE' '$built'"
    ;;
signed)
    certs=$4 readobj=$5
    export LAUNCH_SIGN_PASSWORD
    LAUNCH_SIGN_PASSWORD=$(cat "$certs/password")
    check "the signed release is made" release --sign "$certs/signer.p12" --out "$work/signed"
    check "its signature verifies against the test CA" \
        osslsigncode verify -in "$work/signed/LAUNCH.EXE" -CAfile "$certs/ca.pem"
    check "its SHA256SUMS line checks the signed file" \
        bash -c "cd '$work/signed' && sha256sum -c SHA256SUMS"
    check "the signed image keeps every image rule" "$source_dir/tests/image/check_image.sh" \
        "$readobj" "$work/signed/LAUNCH.EXE" i386 signed
    cp "$work/signed/LAUNCH.EXE" "$work/tampered.exe"
    printf '\x90' | dd of="$work/tampered.exe" bs=1 seek=$((0x300)) conv=notrunc 2>/dev/null
    check "one byte changed, the signature no longer verifies" \
        bash -c "! osslsigncode verify -in '$work/tampered.exe' -CAfile '$certs/ca.pem'"
    ;;
refused)
    certs=$4
    release --out "$work/dist" >/dev/null 2>&1 || { echo "FAIL the unsigned release"; exit 1; }
    cp "$work/dist/LAUNCH.EXE" "$work/dist.kept"
    unset LAUNCH_SIGN_PASSWORD
    check "no certificate" refused "no certificate: $certs/missing.p12 does not exist" \
        --sign "$certs/missing.p12"
    check "no password and no terminal" refused "no password: set LAUNCH_SIGN_PASSWORD" \
        --sign "$certs/signer.p12"
    check "a wrong password" with_password wrong \
        refused "$certs/signer.p12 cannot be opened: wrong password" --sign "$certs/signer.p12"
    check "a certificate that cannot sign code" with_password "$(cat "$certs/password")" \
        refused "the certificate in $certs/server.p12 cannot sign code" --sign "$certs/server.p12"
    check "--timestamp without --sign" refused "--timestamp needs --sign" --timestamp http://localhost/
    ;;
*)
    echo "check_release.sh: unknown mode $mode" >&2
    exit 2
    ;;
esac
echo "$passed passed, $failed failed"
((failed == 0))
