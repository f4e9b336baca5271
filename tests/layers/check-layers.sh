#!/usr/bin/env bash
# Checks the folder layering of src/. The README's Layout table lists the folders of src/ in
# layer order: a folder includes only from folders listed above it. Fails, naming the file and
# the include, when a folder includes from a folder listed below it or from a folder the table
# does not list, and when a folder of src/ is missing from the table. Also checks that no two
# folders include each other, directly or around a circle, that no folder free of Qt includes
# from a folder that uses Qt, and that no core folder uses Qt. With a program as second
# argument, also checks that it holds no test support code.
# usage: check-layers.sh SRC_DIR [PROGRAM]     (the README is SRC_DIR/../README.md)
set -euo pipefail
src=$(readlink -f "$1")
program=${2:+$(readlink -f "$2")}
readme=$src/../README.md

cd "$src"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The layer order: the `src/...` rows of the Layout table, top first, without the "src/".
order=$(sed -n '/^## Layout$/,/^## /s/^| `src\/\([^`]*\)` |.*/\1/p' "$readme")
if [ -z "$order" ]; then
  fail "no src/ rows in the Layout table of $readme"
fi

folders=$(find . \( -name '*.h' -o -name '*.cpp' \) -printf '%h\n' | sed 's|^\./||' | sort -u)

for folder in $folders; do
  if ! grep -qx "$folder" <<<"$order"; then
    fail "src/$folder is not in the README's Layout table"
  fi
done

# Every #include "a/b/File.h" that names a file in another folder of src/, one a line:
# file, line number, folder of the file, folder included, the include's text.
includes=$(for folder in $folders; do
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -e "$file" ] || continue
    grep -n '^#include "' "$file" | sed -n 's/^\([0-9]*\):#include "\(\(.*\)\/[^/]*\)"$/\3 \2 \1/p' |
      while read -r target header line; do
        if [ -d "$target" ] && [ "$target" != "$folder" ]; then
          echo "src/$file $line $folder $target $header"
        fi
      done
  done
done)

# The place of each folder in the table, 1 at the top.
declare -A place
n=0
for folder in $order; do
  n=$((n + 1))
  place[$folder]=$n
done
while read -r file line from to header; do
  [ -n "$file" ] || continue
  if [ -z "${place[$to]:-}" ]; then
    fail "$file:$line includes \"$header\" from src/$to, which the Layout table does not list"
  elif [ -n "${place[$from]:-}" ] && [ "${place[$to]}" -gt "${place[$from]}" ]; then
    fail "$file:$line includes \"$header\" from src/$to, listed below src/$from in the Layout table"
  fi
done <<<"$includes"

edges=$(awk '{ print $3, $4 }' <<<"$includes" | sort -u)

if ! printf '%s\n' "$edges" | tsort >/dev/null 2>/tmp/check-layers.$$; then
  echo "FAIL: folders include each other in a circle:"
  grep -v '^tsort: -: input contains a loop:$' /tmp/check-layers.$$ | sed 's/^tsort: /  /'
  failures=$((failures + 1))
fi
rm -f /tmp/check-layers.$$

qtFolders=$(for folder in $folders; do
  if grep -lq '^#include <Q' "$folder"/*.h "$folder"/*.cpp 2>/dev/null; then echo "$folder"; fi
done)
while read -r from to; do
  [ -n "$from" ] || continue
  if ! grep -qx "$from" <<<"$qtFolders" && grep -qx "$to" <<<"$qtFolders"; then
    fail "$from uses no Qt but includes from $to, which does"
  fi
done <<<"$edges"
for folder in $folders; do
  case $folder in
    core | core/*)
      if grep -qx "$folder" <<<"$qtFolders"; then
        fail "the core folder $folder uses Qt"
      fi ;;
  esac
done

if [ -n "$program" ] && nm -C "$program" | grep -q 'servo::testing::'; then
  fail "$program holds test support code"
fi

if [ "$failures" -ne 0 ]; then exit 1; fi
echo "layers: $(wc -w <<<"$folders") folders in the Layout table's order, $(grep -c . <<<"$edges") include edges, no circles"
printf '%s\n' "$edges" | sed 's/ / -> /; s/^/  /'
