#!/usr/bin/env bash
# Throwaway certificates for the release tests, made with openssl in DIR:
#   ca.pem           a certificate authority
#   signer.p12       a code-signing certificate it issued, its key and the CA, as PKCS#12
#   server.p12       a certificate it issued for servers only (no Code Signing usage)
# Both PKCS#12 files have the password in DIR/password.
#   make_certificates.sh DIR
set -euo pipefail
dir=$1
rm -rf "$dir"
mkdir -p "$dir"
cd "$dir"
printf '%s' 'launch-test-password' >password
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 30 \
    -subj '/CN=LAUNCH.EXE test CA' -addext 'basicConstraints=critical,CA:TRUE' \
    -addext 'keyUsage=critical,keyCertSign,cRLSign' 2>/dev/null
leaf() { # leaf NAME EXTENDED-KEY-USAGE
    openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" \
        -subj "/CN=LAUNCH.EXE test $1" 2>/dev/null
    printf '%s\n' 'basicConstraints=CA:FALSE' 'keyUsage=critical,digitalSignature' \
        "extendedKeyUsage=$2" >"$1.ext"
    openssl x509 -req -in "$1.csr" -CA ca.pem -CAkey ca.key -CAcreateserial -days 30 \
        -extfile "$1.ext" -out "$1.pem" 2>/dev/null
    openssl pkcs12 -export -inkey "$1.key" -in "$1.pem" -certfile ca.pem -out "$1.p12" \
        -passout file:password
}
leaf signer codeSigning
leaf server serverAuth
echo "test certificates in $dir: ca.pem, signer.p12, server.p12"
