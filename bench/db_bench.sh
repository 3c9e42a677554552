#!/usr/bin/env bash
# Runs the database benchmark (bench/db_bench.cpp) under Wine on the release
# build, with the services of the benchmark build folder.
# Usage: bench/db_bench.sh [rows]   (default 10000)
exec bash "$(dirname "$0")/wine_db_bench.sh" db_bench.exe "$@"
