#!/usr/bin/env bash
# Trains the recognition dictionaries with the build machine's builder into a
# cache folder, and copies them into a program folder. The cache is keyed by
# the builder's binary and the MNIST digit files: build folders that share it
# train once for the same inputs.
# Usage: build-dictionaries.sh <builder> <MNIST folder> <cache folder> <program folder>
set -euo pipefail
builder=$1 mnist=$2 cache=$3 dest=$4
names=(digits.dic capitals.dic katakana.dic)
key=$(cat "$builder" "$mnist"/[0-9].json | sha256sum | cut -d' ' -f1)
mkdir -p "$cache" "$dest"
fresh=1
[ "$(cat "$cache/inputs" 2>/dev/null)" = "$key" ] || fresh=0
for n in "${names[@]}"; do [ -f "$cache/$n" ] || fresh=0; done
if [ "$fresh" = 0 ]; then
  rm -f "$cache/inputs"
  "$builder" "$cache" --mnist "$mnist"
  echo "$key" >"$cache/inputs"
fi
for n in "${names[@]}"; do cp "$cache/$n" "$dest/$n"; done
