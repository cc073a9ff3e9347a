#!/bin/bash
# Makes a throwaway RFC 3161 time-stamping authority in DIR, a root of its own (tsa-root.crt,
# valid for 30 days, longer than the code-signing key's 2) certifying its time-stamping key, and
# serves it on 127.0.0.1 for SECONDS (timestamp-authority.py), printing "port N" once it listens.
#   tests/windows/timestamp-authority.sh DIR SECONDS
set -euo pipefail
dir=$(mkdir -p "$1" && cd "$1" && pwd)
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$dir/tsa-root.key" -out "$dir/tsa-root.crt" \
    -days 30 -subj "/CN=CV Veyloom test time-stamping root" \
    -addext basicConstraints=critical,CA:true -addext keyUsage=critical,keyCertSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout "$dir/tsa.key" -out "$dir/tsa.csr" \
    -subj "/CN=CV Veyloom test time-stamping authority" 2>/dev/null
printf '%s\n' basicConstraints=CA:false keyUsage=critical,digitalSignature \
    extendedKeyUsage=critical,timeStamping >"$dir/tsa.ext"
openssl x509 -req -in "$dir/tsa.csr" -CA "$dir/tsa-root.crt" -CAkey "$dir/tsa-root.key" \
    -CAcreateserial -days 30 -extfile "$dir/tsa.ext" -out "$dir/tsa.crt" 2>/dev/null
echo 01 >"$dir/serial"
cat >"$dir/tsa.cnf" <<END
[ tsa ]
default_tsa = authority
[ authority ]
serial = $dir/serial
crypto_device = builtin
signer_cert = $dir/tsa.crt
signer_key = $dir/tsa.key
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
END
exec python3 -u "$(dirname "$0")/timestamp-authority.py" "$dir/tsa.cnf" "$2"
