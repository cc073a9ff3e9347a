#!/bin/bash
# Makes a throwaway Authenticode key in DIR as a bought one comes: a root authority (root.crt),
# an intermediate one it certifies, and a code-signing key the intermediate certifies, all of
# 4096 bits; signer.p12 holds the key, its certificate and the intermediate's, protected by the
# password in the file password.
#   tests/windows/authenticode-test-key.sh DIR
set -euo pipefail
key=$1
mkdir -p "$key"
openssl req -x509 -newkey rsa:4096 -nodes -keyout "$key/root.key" -out "$key/root.crt" -days 2 \
    -subj "/CN=CV Veyloom test root" -addext basicConstraints=critical,CA:true \
    -addext keyUsage=critical,keyCertSign 2>/dev/null
printf '%s\n' basicConstraints=critical,CA:true,pathlen:0 keyUsage=critical,keyCertSign \
    >"$key/intermediate.ext"
printf '%s\n' basicConstraints=CA:false keyUsage=critical,digitalSignature \
    extendedKeyUsage=codeSigning >"$key/signer.ext"
# certify NAME ISSUER: a key NAME and its certificate, issued by ISSUER.
certify() {
    openssl req -newkey rsa:4096 -nodes -keyout "$key/$1.key" -out "$key/$1.csr" \
        -subj "/CN=CV Veyloom test $1" 2>/dev/null
    openssl x509 -req -in "$key/$1.csr" -CA "$key/$2.crt" -CAkey "$key/$2.key" \
        -CAcreateserial -days 2 -extfile "$key/$1.ext" -out "$key/$1.crt" 2>/dev/null
}
certify intermediate root
certify signer intermediate
openssl rand -hex 16 >"$key/password"
openssl pkcs12 -export -inkey "$key/signer.key" -in "$key/signer.crt" \
    -certfile "$key/intermediate.crt" -out "$key/signer.p12" -passout file:"$key/password"
