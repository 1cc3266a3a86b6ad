#!/usr/bin/env bash
# Every text of the sources has a finished English translation, and the translation file
# holds nothing the sources no longer have: lupdate run afresh over the sources leaves no
# unfinished entry and marks none vanished, and lrelease finds nothing left to do.
#
#   check_translations.sh SOURCE_DIR LUPDATE LRELEASE
set -euo pipefail
src=$1 lupdate=$2 lrelease=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$src/translations/pelumo_en.ts" "$work/pelumo_en.ts"
NO_OBSOLETE= bash "$src/scripts/update-translations.sh" "$lupdate" "$work/pelumo_en.ts"
status=0
python3 - "$work/pelumo_en.ts" <<'PY' || status=1
import sys, xml.etree.ElementTree as ET
bad = []
for context in ET.parse(sys.argv[1]).getroot().iter("context"):
    name = context.findtext("name")
    for m in context.iter("message"):
        kind = m.find("translation").get("type")
        if kind or not (m.findtext("translation") or "").strip():
            bad.append(f"{name}: {kind or 'empty'}: {m.findtext('source')!r}")
if bad:
    print("FAIL: translations/pelumo_en.ts is not complete and current "
          "(run scripts/update-translations.sh and translate):")
    print("\n".join(bad))
    sys.exit(1)
PY
report=$("$lrelease" "$work/pelumo_en.ts" -qm "$work/pelumo_en.qm")
if grep -qE "[1-9][0-9]* unfinished|ignored" <<<"$report"; then
    echo "FAIL: lrelease: $report"
    status=1
fi
exit $status
