#!/usr/bin/env bash
# Brings translations/pelumo_en.ts up to date with the sources: new texts come in
# unfinished, texts gone from the sources go. Translate the new ones in Qt Linguist
# (linguist translations/pelumo_en.ts) or in the file itself; the build compiles it.
#
#   scripts/update-translations.sh [LUPDATE] [TS_FILE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${1:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}
ts=${2:-$root/translations/pelumo_en.ts}
# Every folder of the program's own sources; Chinese is the language they are written in.
folders=(app shell dialogs panels equipment bcp ddu journal routes triplog platform common)
cd "$root"
existing=()
for f in "${folders[@]}"; do [ -d "$f" ] && existing+=("$f"); done
exec "$lupdate" -silent -I "$root" -locations none -source-language zh_TW -target-language en \
    -extensions cpp,h ${NO_OBSOLETE--no-obsolete} "${existing[@]}" -ts "$ts"
