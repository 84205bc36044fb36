#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Gathers the texts of the sources into a copy of the English .ts, as update_translations
# does, and fails when any of them has no finished translation.
# Usage: translations_complete.sh SOURCE_DIR LUPDATE LRELEASE FOLDER...
set -euo pipefail
src=$1 lupdate=$2 lrelease=$3
shift 3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$src/app/translations/orbivist_en.ts" "$tmp/en.ts"
cd "$src"
"$lupdate" "$@" -extensions cpp,h -source-language ru_RU \
    -target-language en -no-obsolete -locations none -ts "$tmp/en.ts" >/dev/null 2>&1
report=$("$lrelease" "$tmp/en.ts" -qm "$tmp/en.qm")
echo "$report"
grep -q " 0 unfinished" <<<"$report" || { echo "FAIL: texts without English translation" >&2; exit 1; }
cmp -s "$src/app/translations/orbivist_en.ts" "$tmp/en.ts" ||
    { echo "FAIL: orbivist_en.ts is not up to date; run the update_translations target" >&2; exit 1; }
