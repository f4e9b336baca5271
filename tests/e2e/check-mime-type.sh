#!/usr/bin/env bash
# The MIME package file builds a database (update-mime-database refuses a bad file) in which
# *.servo files are application/x-servo-experiment, and the desktop entry takes that type.
# usage: check-mime-type.sh MIME_XML DESKTOP_ENTRY
set -euo pipefail
xml=$1
entry=$2
type=application/x-servo-experiment
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
database=$scratch/mime
mkdir -p "$database/packages"
cp "$xml" "$database/packages/"
if ! errors=$(XDG_DATA_HOME=$scratch update-mime-database "$database" 2>&1) || [ -n "$errors" ]; then
  echo "update-mime-database refused the file: $errors"
  exit 1
fi
grep -qx "$type:\*\.servo" "$database/globs" || { echo "*.servo is not $type"; exit 1; }
grep -q "^\[50:$type\]" "$database/magic" || { echo "no magic for $type"; exit 1; }
grep -qx "MimeType=$type;" "$entry" || { echo "the desktop entry does not take $type"; exit 1; }
grep -q '^Exec=.* %f$' "$entry" || { echo "the desktop entry's Exec takes no file"; exit 1; }
echo "$type: *.servo, with magic; the desktop entry opens it"
