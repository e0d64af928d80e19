#!/bin/sh
# Makes the test certificate authority and two server certificates for loopback HTTPS:
# one signed by the test authority (trusted by the tests) and one signed by an authority
# that no test trusts.
set -eu
out=$1
mkdir -p "$out"
cd "$out"

cat > server.ext <<'EXT'
basicConstraints = CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:localhost, IP:127.0.0.1
EXT

make_authority() {
    openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -sha256 -days 3650 \
        -keyout "$1.key" -out "$1.pem" -subj "/CN=$2" \
        -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
}

make_server() {
    openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -sha256 \
        -keyout "$1.key" -out "$1.csr" -subj "/CN=localhost" 2>/dev/null
    openssl x509 -req -sha256 -days 3650 -in "$1.csr" -CA "$2.pem" -CAkey "$2.key" -CAcreateserial \
        -extfile server.ext -out "$1.pem" 2>/dev/null
    rm -f "$1.csr"
}

make_authority test-authority "Kelvrin Test Authority"
make_authority untrusted-authority "Untrusted Test Authority"
make_server server test-authority
make_server untrusted-server untrusted-authority
rm -f server.ext ./*.srl
