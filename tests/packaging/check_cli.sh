#!/usr/bin/env bash
# `pelumo --version` and `pelumo --help` answer with no display at all, within a second,
# and end with status 0. Without a display a QApplication would stop the program with an
# error, so status 0 also shows that no window system was touched.
#
#   check_cli.sh PELUMO_BINARY
set -euo pipefail
program=$1
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@"; }

start=$(date +%s%N)
version=$(nodisplay --version)
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
[[ $version =~ ^pelumo\ [0-9]+(\.[0-9]+)+$ ]] || { echo "FAIL: --version printed \"$version\""; exit 1; }
(( elapsed_ms < 1000 )) || { echo "FAIL: --version took $elapsed_ms ms"; exit 1; }

help=$(nodisplay --help)
for want in "Usage: pelumo" "--help" "--version"; do
    grep -qF -- "$want" <<<"$help" || { echo "FAIL: --help lacks $want:"; echo "$help"; exit 1; }
done
echo "PASS: $version in $elapsed_ms ms; --help prints $(wc -l <<<"$help") lines"
