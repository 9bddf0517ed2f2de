#!/usr/bin/env bash
# Signing round trip: installer/pack, given a throw-away self-signed certificate, signs the 32-bit
# programs before packing them (as found in the zip) and the installer after. Each signature
# must be intact and made with that certificate; the chain is untrusted, as it must be for a
# certificate nobody vouches for; and a changed byte must break it.
#   signing_test.sh <source folder>    (the win32 programs must be built)
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Recordatorio prueba" \
    -addext extendedKeyUsage=codeSigning -keyout key.pem -out cert.pem 2>/dev/null
password='una clave; con "comillas"'
openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.p12 -passout "pass:$password"

KIT_SIGN_PKCS12=$work/cert.p12 KIT_SIGN_PASSWORD=$password \
    "$source_dir/installer/pack" win32 9.9.9 "$source_dir/dist/win32" \
    "$source_dir/installer/LEEME.txt.in" "$work/stage" "$work/out/prueba"
unzip -q out/prueba-win32.zip notifier.exe editor.exe

status=0
fail() { echo "FAILED: $*"; status=1; }
for file in notifier.exe editor.exe out/prueba-win32-setup.exe; do
    trusted=$(osslsigncode verify -CAfile cert.pem -in "$file" 2>&1) \
        || { echo "$trusted"; fail "$file: no intact signature of the test certificate"; }
    untrusted=$(osslsigncode verify -in "$file" 2>&1) && fail "$file: its chain was trusted"
    grep -q "self-signed certificate" <<<"$untrusted" || fail "$file: $untrusted"
    echo "$file: $(grep -m1 'Signature verification' <<<"$trusted") with the test certificate;" \
        "without it: $(grep -m1 -o 'self-signed certificate' <<<"$untrusted")"
done

cp out/prueba-win32-setup.exe changed.exe
printf 'X' | dd of=changed.exe bs=1 seek=100000 conv=notrunc 2>/dev/null
osslsigncode verify -CAfile cert.pem -in changed.exe >/dev/null 2>&1 \
    && fail "an installer with a changed byte still verifies"
exit $status
