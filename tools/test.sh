#!/usr/bin/env bash
# Sets up a fresh Debian machine (packages, builds, Wine prefix, services) and
# runs every test headless: the native tests under the sanitizers, the
# Windows tests under Wine and Xvfb, and the fuzz targets for a bounded time.
# Ends with one summary line over all of them.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export BUILD_ROOT=${BUILD_ROOT:-$root/build}

bash tools/install-packages.sh || exit 1
# What the build downloads, fetched before it starts.
bash tools/fetch-mnist.sh "$BUILD_ROOT/host-tools/mnist" || exit 1
bash tools/build.sh || exit 1
BUILD_WIN="$BUILD_ROOT/win" bash tools/prepare-runtime.sh ||
  { echo "tests: the Windows programs' runtime could not be prepared" >&2; exit 1; }

# The feeder that tools/run.sh sets up beside the programs for its sample
# ("SCANFEED.INI") is put aside while the tests set up and remove feeders of
# their own in the same folder, and back afterwards. A copy already aside (a
# run that was killed) is the user's: what stands there then is a test's.
feeder="$BUILD_ROOT/win/bin/SCANFEED.INI"
feeder_aside="$BUILD_ROOT/win/SCANFEED.INI.aside"
if [ -f "$feeder_aside" ]; then
  rm -f "$feeder"
elif [ -f "$feeder" ]; then
  mv "$feeder" "$feeder_aside"
fi
trap 'bash "$root/tools/services.sh" stop; [ ! -f "$feeder_aside" ] || mv -f "$feeder_aside" "$feeder"' EXIT
env_lines=$(bash tools/services.sh start) ||
  { echo "tests: the services the tests need did not start" >&2; exit 1; }
eval "$env_lines"

export SHEETDESK_REQUIRE_SERVICES=1
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
jobs=$(nproc)
passed=0
failed=0
for build in native win fuzz; do
  echo "== tests: $build"
  log="$BUILD_ROOT/$build/ctest.log"
  ctest --test-dir "$BUILD_ROOT/$build" -j "$jobs" --output-on-failure 2>&1 | tee "$log"
  # "100% tests passed, 0 tests failed out of 12" or "No tests were found!!!"
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  elif ! grep -q "No tests were found" "$log"; then
    failed=$((failed + 1))
  fi
done

echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
