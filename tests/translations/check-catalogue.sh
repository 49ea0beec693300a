#!/usr/bin/env bash
# The Spanish catalogue holds every text the windows translate: lupdate, run over the sources into
# a copy of the catalogue, finds no text the catalogue lacks, and no entry is left unfinished.
# Usage: check-catalogue.sh SOURCE-DIR
set -euo pipefail
source_dir=$1
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/src/app/translations/tenvoria_es.ts" "$work/copy.ts"
report=$("$lupdate" -extensions cpp,h,inc -locations none -target-language es -no-obsolete "$source_dir/src" \
  -ts "$work/copy.ts" 2>&1)
found=$(grep -o 'Found [0-9]* source text(s) ([0-9]* new' <<<"$report" || true)
new=${found##*(}
new=${new%% new}
if [ -z "$found" ]; then
  echo "lupdate said nothing the check understands:"; echo "$report"; exit 1
fi
if [ "$new" != 0 ]; then
  echo "the catalogue lacks $new text(s) the sources translate; run lupdate as this script does and translate them:"
  diff <(grep -o '<source>.*</source>' "$source_dir/src/app/translations/tenvoria_es.ts" | sort) \
       <(grep -o '<source>.*</source>' "$work/copy.ts" | sort) | grep '^>' || true
  exit 1
fi
if grep -q 'type="unfinished"' "$work/copy.ts"; then
  echo "entries left unfinished:"; grep -B2 'type="unfinished"' "$work/copy.ts" | grep '<source>'; exit 1
fi
if ! cmp -s "$source_dir/src/app/translations/tenvoria_es.ts" "$work/copy.ts"; then
  echo "the catalogue keeps texts the sources no longer have (lupdate -no-obsolete drops them):"
  diff "$source_dir/src/app/translations/tenvoria_es.ts" "$work/copy.ts" | grep '^<.*<source>' || true
  exit 1
fi
echo "the catalogue is complete: $found"
