#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo the build wrote carry every language's
# translations: its name, comment and search words, and the metainfo's summary and description.
# usage: check-desktop-translations.sh DESKTOP-ENTRY METAINFO LANGUAGE...
set -u
entry=$1
metainfo=$2
shift 2
failures=0
for language in "$@"; do
  for key in Name GenericName Comment Keywords; do
    grep -q "^$key\[$language\]=." "$entry" || { echo "FAIL: no $key[$language] in $entry"; failures=$((failures + 1)); }
  done
  for element in name summary p li; do
    grep -q "<$element xml:lang=\"$language\">" "$metainfo" ||
      { echo "FAIL: no <$element xml:lang=\"$language\"> in $metainfo"; failures=$((failures + 1)); }
  done
done
[ "$failures" -eq 0 ] && echo "desktop entry and metainfo translated into: $*"
exit $((failures != 0))
