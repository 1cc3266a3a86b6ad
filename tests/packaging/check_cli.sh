#!/usr/bin/env bash
# `pelumo --version` and `pelumo --help` answer with no display at all, within a second,
# and end with status 0. Without a display a QApplication would stop the program with an
# error, so status 0 also shows that no window system was touched.
#
#   check_cli.sh PELUMO_BINARY
set -euo pipefail
program=$1
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@"; }
# --help in the environment changed by env's arguments
nodisplay_in() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" "$program" --help; }

start=$(date +%s%N)
version=$(nodisplay --version)
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
[[ $version =~ ^pelumo\ [0-9]+(\.[0-9]+)+$ ]] || { echo "FAIL: --version printed \"$version\""; exit 1; }
(( elapsed_ms < 1000 )) || { echo "FAIL: --version took $elapsed_ms ms"; exit 1; }

help=$(nodisplay_in LC_ALL=C)
for want in "Usage: pelumo" "--help" "--version"; do
    grep -qF -- "$want" <<<"$help" || { echo "FAIL: --help lacks $want:"; echo "$help"; exit 1; }
done

# The language of --help follows the locale as the C library reads it: LC_ALL, then
# LC_MESSAGES, then LANG; Chinese for zh_*, English otherwise.
while read -r want locale; do
    # shellcheck disable=SC2086 # the row's assignments, one word each
    got=$(nodisplay_in -u LC_ALL -u LC_MESSAGES -u LANG $locale)
    got=${got%%$'\n'*}
    [[ $got == "$want"* ]] || { echo "FAIL: with $locale --help begins \"$got\""; exit 1; }
done <<'ROWS'
用法：pelumo LANG=zh_TW.UTF-8
用法：pelumo LANG=zh_HK.UTF-8
用法：pelumo LC_ALL=zh_TW.UTF-8 LANG=en_US.UTF-8
用法：pelumo LC_MESSAGES=zh_TW.UTF-8 LANG=C
Usage: LC_ALL=C LANG=zh_TW.UTF-8
Usage: LC_ALL= LC_MESSAGES= LANG=en_US.UTF-8
Usage: LANG=fr_FR.UTF-8
Usage: LANG=C.UTF-8
ROWS
echo "PASS: $version in $elapsed_ms ms; --help prints $(wc -l <<<"$help") lines"
