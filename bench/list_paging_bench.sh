#!/usr/bin/env bash
# Runs the list paging benchmark (bench/list_paging_bench.cpp) under Wine on
# the release build, with the services of the benchmark build folder.
# Usage: bench/list_paging_bench.sh [rows]   (default 100000)
exec bash "$(dirname "$0")/wine_db_bench.sh" list_paging_bench.exe "$@"
