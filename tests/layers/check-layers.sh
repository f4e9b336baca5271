#!/usr/bin/env bash
# Checks the folder layering of src/: no folder includes from a folder that includes it back
# (directly or around a circle), and no folder free of Qt includes from a folder that uses Qt.
# With a program as second argument, also checks that it holds no test support code.
# usage: check-layers.sh SRC_DIR [PROGRAM]
set -euo pipefail
src=$1
program=${2:+$(readlink -f "$2")}

cd "$src"
failures=0

folders=$(find . -name '*.h' -o -name '*.cpp' | xargs -n1 dirname | sed 's|^\./||' | sort -u)

# Edges "from to" between folders, from each #include "a/b/File.h" that names a file in src/.
edges=$(for folder in $folders; do
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -e "$file" ] || continue
    sed -n 's/^#include "\(.*\)\/[^/]*"$/\1/p' "$file" | while read -r target; do
      if [ -d "$target" ] && [ "$target" != "$folder" ]; then echo "$folder $target"; fi
    done
  done
done | sort -u)

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
    echo "FAIL: $from uses no Qt but includes from $to, which does"
    failures=$((failures + 1))
  fi
done <<<"$edges"
for folder in $folders; do
  case $folder in
    core | core/*)
      if grep -qx "$folder" <<<"$qtFolders"; then
        echo "FAIL: the core folder $folder uses Qt"
        failures=$((failures + 1))
      fi ;;
  esac
done

if [ -n "$program" ] && nm -C "$program" | grep -q 'servo::testing::'; then
  echo "FAIL: $program holds test support code"
  failures=$((failures + 1))
fi

if [ "$failures" -ne 0 ]; then exit 1; fi
echo "layers: $(wc -w <<<"$folders") folders, $(grep -c . <<<"$edges") include edges, no circles"
printf '%s\n' "$edges" | sed 's/ / -> /; s/^/  /'
