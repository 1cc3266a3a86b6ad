#!/usr/bin/env bash
# The files the desktop and Debian read, checked with their own tools. Each check ends
# with status 77 (skipped) when its tool is missing; scripts/setup.sh installs them.
#
#   check_package.sh desktop|metainfo|manpage|deb SOURCE_DIR BUILD_DIR
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 desktop|metainfo|manpage|deb SOURCE_DIR BUILD_DIR"; exit 2; }
what=$1 SRC=$2 BUILD=$3

need()
{
    local t
    for t in "$@"; do
        command -v "$t" >/dev/null || { echo "SKIP: no $t (scripts/setup.sh installs it)"; exit 77; }
    done
}
fail() { echo "FAIL: $*"; exit 1; }

case $what in
desktop)
    need desktop-file-validate
    desktop-file-validate "$SRC/assets/pelumo.desktop" || fail "desktop-file-validate"
    ;;
metainfo)
    need appstreamcli
    appstreamcli validate --no-net "$SRC"/assets/*.metainfo.xml || fail "appstreamcli validate"
    ;;
manpage)
    need man
    for page in pelumo.1 zh_TW/pelumo.1; do
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
                       "$BUILD/doc/$page" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man warns on $page: $warnings"
    done
    ;;
deb)
    need cpack dpkg-deb dpkg-shlibdeps lintian
    tmp=$(mktemp -d "${TMPDIR:-/tmp}/pelumo-deb.XXXXXX")
    trap 'rm -rf "$tmp"' EXIT
    (cd "$BUILD" && cpack -G DEB -B "$tmp" >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log"; fail "cpack"; }
    deb=$(ls "$tmp"/pelumo_*.deb)
    contents=$(dpkg-deb -c "$deb" | awk '{print $6 $7 $8}')
    for f in "./usr/bin/pelumo->../lib/pelumo/pelumo" ./usr/lib/pelumo/pelumo \
             ./usr/lib/pelumo/routes.dat ./usr/lib/pelumo/installed \
             ./usr/share/applications/pelumo.desktop ./usr/share/man/man1/pelumo.1.gz \
             ./usr/share/man/zh_TW/man1/pelumo.1.gz \
             ./usr/share/metainfo/example.quillmere.pelumo.metainfo.xml \
             ./usr/share/doc/pelumo/copyright ./usr/share/doc/pelumo/changelog.gz \
             ./usr/lib/pelumo/pelumo_charts.so ./usr/share/icons/hicolor/scalable/apps/pelumo.svg; do
        grep -qxF -- "$f" <<<"$contents" || fail "the package lacks $f"
    done
    depends=$(dpkg-deb -f "$deb" Depends)
    for p in libqt6widgets6 libqt6gui6 libqt6charts6 fonts-arphic-uming fonts-liberation fonts-dejavu-core \
             qt6-translations-l10n libqt6sql6-sqlite; do
        grep -qE "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p: $depends"
    done
    # Errors fail the check; warnings and notes are printed for the record.
    rc=0
    findings=$(lintian --fail-on error --pedantic -I "$deb" 2>&1) || rc=$?
    grep -v "running with root privileges" <<<"$findings" || true
    [ $rc -eq 0 ] || fail "lintian reports errors"
    echo "PASS: $(basename "$deb"), Depends: $depends"
    ;;
*)
    fail "unknown check $what"
    ;;
esac
