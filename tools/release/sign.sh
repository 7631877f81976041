#!/bin/sh
# Signs a Windows binary in place with osslsigncode (Authenticode, SHA-256).
#   TERVOLIN_SIGN_CERT       the certificate (chain), PEM
#   TERVOLIN_SIGN_KEY        its private key, PEM
#   TERVOLIN_SIGN_PASS_FILE  a file holding the key's password (optional)
# The signing time is the commit's (SOURCE_DATE_EPOCH), so that a signed
# release is as reproducible as the key allows.
set -eu
file=$1
: "${TERVOLIN_SIGN_CERT:?names the certificate}" "${TERVOLIN_SIGN_KEY:?names the private key}"
set -- -certs "$TERVOLIN_SIGN_CERT" -key "$TERVOLIN_SIGN_KEY" -h sha256 -n Tervolin
if [ -n "${TERVOLIN_SIGN_PASS_FILE:-}" ]; then set -- "$@" -readpass "$TERVOLIN_SIGN_PASS_FILE"; fi
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then set -- "$@" -time "$SOURCE_DATE_EPOCH"; fi
osslsigncode sign "$@" -in "$file" -out "$file.signed" >/dev/null
mv "$file.signed" "$file"
echo "make-release: $(basename "$file") signed with $TERVOLIN_SIGN_CERT"
