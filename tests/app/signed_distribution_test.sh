#!/usr/bin/env bash
# The distribution signed with a vendor's certificate: a throwaway CA and the code-signing and
# time-stamping certificates it issues (openssl), a local time-stamping server, and
# scripts/make-distribution.sh signing once with a certificate, its key and a time stamp, once
# with a password-protected PKCS#12 file. Every program verifies against that CA, one changed
# byte breaks a signature, and without a certificate the programs are unsigned, said once.
#   signed_distribution_test.sh SETUP.EXE UNINSTALL.EXE
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
setup=$(realpath "$1") uninstaller=$(realpath "$2")
work=$(mktemp -d)
server=
trap '[ -z "$server" ] || kill "$server"; rm -rf "$work"' EXIT
cd "$work"
fail() {
  echo "$1"
  [ ! -f verify.txt ] || cat verify.txt
  exit 1
}

openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=ca" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" 2>/dev/null
# A certificate NAME.pem with its key NAME.key, issued by the CA for one extended key usage.
issue() {
  openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=$1" 2>/dev/null
  printf 'keyUsage=critical,digitalSignature\nextendedKeyUsage=critical,%s\n' "$2" >"$1.ext"
  openssl x509 -req -in "$1.csr" -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 \
    -extfile "$1.ext" -out "$1.pem" 2>/dev/null
}
issue vendor codeSigning
issue tsa timeStamping
openssl pkcs12 -export -in vendor.pem -inkey vendor.key -passout pass:secret -out vendor.p12

python3 "$here/tests/app/timestamp_server.py" tsa >port &
server=$!
for _ in $(seq 50); do [ -s port ] && break; sleep 0.1; done

# Every program of the distribution $1 verifies, with SHA-256, and the output says $2 too.
verify_all() {
  local program
  for program in SetUp.exe acad-inventory.exe Data/SetUp.EXE Data/UnInstall.exe; do
    osslsigncode verify -CAfile ca.pem -TSA-CAfile ca.pem -in "$1/$program" >verify.txt ||
      fail "$1/$program: not verified"
    grep -q "Message digest algorithm  : SHA256" verify.txt || fail "$1/$program: not SHA-256"
    grep -q "$2" verify.txt || fail "$1/$program: no '$2'"
  done
}
CODESIGN_CERT=vendor.pem CODESIGN_KEY=vendor.key CODESIGN_TIMESTAMP_URL=http://127.0.0.1:$(cat port) \
  "$here/scripts/make-distribution.sh" "$setup" pem "$uninstaller" 2>pem.err || fail "$(cat pem.err)"
verify_all pem "Timestamp Server Signature verification: ok"
CODESIGN_PKCS12=vendor.p12 CODESIGN_PASSWORD=secret \
  "$here/scripts/make-distribution.sh" "$setup" p12 "$uninstaller" 2>p12.err || fail "$(cat p12.err)"
verify_all p12 "Subject: /CN=vendor"
[ ! -s pem.err ] && [ ! -s p12.err ] || fail "signing said: $(cat pem.err p12.err)"

cp pem/Data/UnInstall.exe changed.exe
python3 -c 'import sys; d = bytearray(open(sys.argv[1], "rb").read()); d[len(d) // 2] ^= 1
open(sys.argv[1], "wb").write(d)' changed.exe
! osslsigncode verify -CAfile ca.pem -TSA-CAfile ca.pem -in changed.exe >verify.txt 2>&1 ||
  fail "a program with a changed byte still verifies"
grep -q "MISMATCH" verify.txt || fail "no digest mismatch"

rm verify.txt
"$here/scripts/make-distribution.sh" "$setup" plain "$uninstaller" 2>plain.err
[ "$(grep -c 'not signed' plain.err)" = 1 ] || fail "unsigned, but stderr said: $(cat plain.err)"
! osslsigncode verify -CAfile ca.pem -in plain/SetUp.exe >/dev/null 2>&1 || fail "plain: signed"
echo "signed distribution: 4 programs verified twice, a changed byte refused, unsigned said once"
