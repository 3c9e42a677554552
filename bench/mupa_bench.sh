#!/usr/bin/env bash
# MUPA32's recognition benchmarks on the release build: the builder trains
# the digit, capital and katakana dictionaries from the handwriting fonts,
# pen drawings and MNIST samples 0..599 of each digit, and writes 10,000
# held-out digits, capitals and katakana and MNIST samples 600..699 of each
# digit (one command: mupa_dictbuilder); the pattern classifier reads them
# natively and under Wine, and so does the whole pipeline through the
# recognition exports (single characters, fields, lines); segmentation cuts
# rendered lines into boxes. The digit dictionary is measured once more with
# single digits handed to its derived stroke models.
# Usage: bench/mupa_bench.sh [lines]   (segmentation lines per type, default 300)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bench_root=${BENCH_ROOT:-$root/build/bench}
bash "$root/bench/build.sh" native win
export BUILD_WIN="$bench_root/win"
bash "$root/tools/prepare-runtime.sh" >/dev/null

bin="$BUILD_WIN/bin"
work="$bin/mupa_bench_work"  # beside the Windows program: Wine reads it by a relative path
rm -rf "$work"
mkdir -p "$work"
echo "== builder"
bash "$root/tools/fetch-mnist.sh" "$bench_root/host-tools/mnist"
"$bench_root/native/bin/mupa_dictbuilder" "$work" --mnist "$bench_root/host-tools/mnist" \
  --test-samples 10000
echo "== pattern classifier, native"
"$bench_root/native/bin/classifier_bench" "$work"
echo "== pattern classifier, under Wine"
(cd "$bin" && bash "$root/tools/wine-exec.sh" ./classifier_bench.exe mupa_bench_work)
echo "== recognition through the exports, native"
"$bench_root/native/bin/recognition_bench" "$work"
echo "== recognition through the exports, under Wine"
(cd "$bin" && bash "$root/tools/wine-exec.sh" ./recognition_bench.exe mupa_bench_work)
echo "== single digits read by the derived stroke models (structural), native"
structural="$bench_root/structural_work"
rm -rf "$structural" && mkdir -p "$structural"
"$bench_root/native/bin/mupa_dictbuilder" "$structural" --mnist "$bench_root/host-tools/mnist" \
  --structural 1 | grep "stroke models"
cp "$work"/digits*_test.pack "$structural/"
"$bench_root/native/bin/recognition_bench" "$structural" >"$structural/figures.txt"
sed -n '/^capitals_test/q;p' "$structural/figures.txt"
rm -rf "$structural"
echo "== segmentation"
"$bench_root/native/bin/segment_bench" "${1:-300}"
rm -rf "$work"
