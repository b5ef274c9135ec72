#!/usr/bin/env bash
# The release of the product: builds build/win32/LAUNCH.EXE's sources in a fresh build folder,
# checks the image, and writes dist/LAUNCH.EXE and dist/SHA256SUMS.
#   scripts/release.sh [--sign CERT.p12 [--timestamp URL]] [--out DIR]
# --sign       signs dist/LAUNCH.EXE (Authenticode, SHA-256) with the certificate and key of a
#              PKCS#12 file, verifies the signature, and checksums the signed file. The password
#              comes from LAUNCH_SIGN_PASSWORD or, when that is not set, from a prompt on the
#              terminal; never from the command line.
# --timestamp  has the signature timestamped by this RFC 3161 server.
# --out        writes DIR instead of dist.
# Every failure stops with one line saying what failed, and leaves DIR as it was.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD

fail() {
    echo "release: $*" >&2
    exit 1
}
usage() {
    sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'
}

certificate= timestamp= out=dist
while (($#)); do
    case $1 in
    --sign | --timestamp | --out)
        (($# >= 2)) && [[ -n $2 ]] || fail "$1 needs a value"
        case $1 in
        --sign) certificate=$2 ;;
        --timestamp) timestamp=$2 ;;
        --out) out=$2 ;;
        esac
        shift 2
        ;;
    --help | -h)
        usage
        exit 0
        ;;
    *) fail "unknown argument '$1' (see --help)" ;;
    esac
done
[[ -z $timestamp || -n $certificate ]] || fail "--timestamp needs --sign"

scripts/install-deps.sh windows release >&2

# The certificate first, before anything is built: it must open with the password and be one
# that may sign code.
if [[ -n $certificate ]]; then
    [[ -f $certificate ]] || fail "no certificate: $certificate does not exist"
    if [[ -z ${LAUNCH_SIGN_PASSWORD+set} ]]; then
        [[ -r /dev/tty ]] && { : </dev/tty; } 2>/dev/null ||
            fail "no password: set LAUNCH_SIGN_PASSWORD or run from a terminal"
        read -rsp "Password for $certificate: " LAUNCH_SIGN_PASSWORD </dev/tty
        echo >/dev/tty
    fi
    export LAUNCH_SIGN_PASSWORD
    signer=$(openssl pkcs12 -in "$certificate" -passin env:LAUNCH_SIGN_PASSWORD -nokeys \
        -clcerts 2>/dev/null) || fail "$certificate cannot be opened: wrong password, or not PKCS#12"
    openssl pkcs12 -in "$certificate" -passin env:LAUNCH_SIGN_PASSWORD -nocerts -nodes \
        2>/dev/null | grep -q 'PRIVATE KEY' || fail "$certificate holds no private key"
    purposes=$(openssl x509 -noout -ext extendedKeyUsage,keyUsage 2>/dev/null <<<"$signer") ||
        fail "$certificate holds no certificate"
    grep -q 'Code Signing' <<<"$purposes" ||
        fail "the certificate in $certificate cannot sign code: no Code Signing extended key usage"
    if grep -q 'X509v3 Key Usage' <<<"$purposes" && ! grep -q 'Digital Signature' <<<"$purposes"; then
        fail "the certificate in $certificate cannot sign code: its key usage lacks Digital Signature"
    fi
fi

# Everything is made in a folder beside DIR, which replaces DIR only when all went well.
parent=$(dirname "$out")
mkdir -p "$parent"
work=$(mktemp -d "$parent/.release.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "Building LAUNCH.EXE in a fresh build folder ..." >&2
tests/image/build_fresh.sh "$source_dir" "$source_dir/cmake/i686-w64-mingw32.cmake" \
    "$work/build" || fail "the build failed; see the lines above"
readobj=$(command -v llvm-readobj-14 || command -v llvm-readobj) || fail "llvm-readobj is missing"
tests/image/check_image.sh "$readobj" "$work/build/LAUNCH.EXE" i386 >&2 ||
    fail "the image breaks the rules above"

mkdir "$work/dist"
if [[ -n $certificate ]]; then
    echo "Signing with $certificate ..." >&2
    # The password goes to osslsigncode through a pipe, not its command line.
    sign=(osslsigncode sign -pkcs12 "$certificate" -readpass /dev/stdin -h sha256
        -in "$work/build/LAUNCH.EXE" -out "$work/dist/LAUNCH.EXE")
    [[ -z $timestamp ]] || sign+=(-ts "$timestamp")
    printf '%s\n' "$LAUNCH_SIGN_PASSWORD" | "${sign[@]}" >"$work/sign.log" 2>&1 ||
        { tail -5 "$work/sign.log" >&2; fail "signing failed"; }
    # The chain the signer brought (its CA certificates) and the system's trusted roots.
    { openssl pkcs12 -in "$certificate" -passin env:LAUNCH_SIGN_PASSWORD -nokeys -cacerts \
        2>/dev/null || true; cat /etc/ssl/certs/ca-certificates.crt 2>/dev/null || true; } \
        >"$work/trusted.pem"
    osslsigncode verify -in "$work/dist/LAUNCH.EXE" -CAfile "$work/trusted.pem" \
        >"$work/verify.log" 2>&1 ||
        { tail -5 "$work/verify.log" >&2; fail "the signature does not verify"; }
else
    cp "$work/build/LAUNCH.EXE" "$work/dist/LAUNCH.EXE"
fi
(cd "$work/dist" && sha256sum LAUNCH.EXE >SHA256SUMS)

rm -rf "$out.old"
[[ ! -e $out ]] || mv "$out" "$out.old"
mv "$work/dist" "$out"
rm -rf "$out.old"
echo "$out/LAUNCH.EXE: $(stat -c %s "$out/LAUNCH.EXE") bytes${certificate:+, signed}"
cat "$out/SHA256SUMS"
