#!/usr/bin/env bash
# Writes the source of the link test: a program that takes the address of
# every function and variable the given public headers declare, except the
# names the planned list holds (declared, not built yet). Linking it fails
# for any other declaration without a definition. A planned name that no
# header declares any more is an error here.
# Usage: link_test_source.sh out.cpp planned.txt source-root header...
set -euo pipefail
out=$1 planned=$2 root=$3
shift 3
here=$(dirname "$0")

declared=$(for header in "$@"; do awk -f "$here/list_declarations.awk" "$root/$header"; done)
planned_names=$(sed -e 's/#.*//' "$planned" | awk 'NF { print $1 }')

stale=$(comm -13 <(awk '{ print $2 }' <<<"$declared" | sort -u) <(sort -u <<<"$planned_names"))
if [ -n "$stale" ]; then
  echo "$planned lists names no public header declares:" $stale >&2
  exit 1
fi

{
  echo "// Written by tests/tree/link_test_source.sh from the public headers; do not edit."
  echo "// Takes the address of every function and variable they declare but those"
  echo "// tests/tree/planned.txt lists, so a declaration without a definition fails"
  echo "// to link."
  for header in "$@"; do echo "#include \"$header\""; done
  echo
  echo "#include <cstdint>"
  echo "#include <cstdio>"
  echo
  echo "namespace {"
  echo "std::uintptr_t g_sink = 0;"
  echo "template <class T>"
  echo "void Keep(T* address) { g_sink ^= reinterpret_cast<std::uintptr_t>(address); }"
  echo "}  // namespace"
  echo
  echo "int main() {"
  count=0
  # A name declared twice is overloaded (two subsystems' functions of one
  # name with other parameters): its address needs a type this list does
  # not hold, so its callers' links check it.
  overloaded=$(awk '{ print $2 }' <<<"$declared" | sort | uniq -d)
  while read -r kind name; do
    [ -n "$name" ] || continue
    if grep -qxF "$name" <<<"$planned_names"; then continue; fi
    if grep -qxF "$name" <<<"$overloaded"; then continue; fi
    echo "  Keep(&$name);"
    count=$((count + 1))
  done <<<"$declared"
  echo "  std::printf(\"%d declarations link (%zu)\\n\", $count, static_cast<size_t>(g_sink != 0));"
  echo "  return 0;"
  echo "}"
} >"$out.tmp"
mv "$out.tmp" "$out"
