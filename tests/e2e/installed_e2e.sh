#!/usr/bin/env bash
# An installed copy under a prefix its user cannot write: `cmake --install` into a
# temporary prefix, started as the desktop entry starts it (pelumo on the PATH), then
# switched on, logged in and its trip log output. The log must land in the user's data
# directory, the user's own routes.dat there must be the one read, and the log viewer
# must open the log that was written.
#
#   installed_e2e.sh BUILD_DIR PIXELWATCH_BINARY SOURCE_DIR
#
# Run as root, the program runs as the unprivileged user 65534, since root writes through
# any permission bits; otherwise the prefix is made read-only.

here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

[ $# -eq 3 ] || { echo "usage: $0 BUILD_DIR PIXELWATCH_BINARY SOURCE_DIR"; exit 2; }
BUILD=$1 PIXELWATCH=$2 SRC=$3
as_root=false
[ "$(id -u)" -eq 0 ] && as_root=true
if $as_root; then require_tools identify setpriv; else require_tools identify; fi
started=$(date +%s)

make_tmp
chmod 755 "$E2E_TMP"
PREFIX="$E2E_TMP/prefix"

step "cmake --install"
cmake --install "$BUILD" --prefix "$PREFIX" >"$E2E_TMP/install.log" 2>&1 \
    || fail "install failed: $(cat "$E2E_TMP/install.log")"
[ -x "$PREFIX/bin/pelumo" ] || fail "no bin/pelumo"
program=$(readlink -f "$PREFIX/bin/pelumo")
program_dir=$(dirname "$program")
[ -f "$program_dir/routes.dat" ] || fail "no routes.dat next to the installed program ($program_dir)"
[ -f "$program_dir/installed" ] || fail "no installed marker next to the installed program"
cmp -s "$program_dir/routes.dat" "$SRC/assets/routes.dat" || fail "the installed routes.dat is not the sample"
desktop="$PREFIX/share/applications/pelumo.desktop"
[ -f "$desktop" ] || fail "no desktop entry"
for line in "Type=Application" "Name=Pelumo Bus Fare-Card Simulator" \
    "Name[zh_TW]=巴士Pelumo機模擬器" "Exec=pelumo" "Icon=pelumo" "Categories=Education;Simulation;"; do
    grep -qxF "$line" "$desktop" || fail "the desktop entry lacks $line"
done
for size in 16 22 24 32 48 64 128 256; do
    png="$PREFIX/share/icons/hicolor/${size}x${size}/apps/pelumo.png"
    [ -f "$png" ] || fail "no ${size} px icon"
    [ "$(identify -format '%m %wx%h' "$png")" = "PNG ${size}x${size}" ] || fail "$png is not a ${size} px PNG"
done
[ -f "$PREFIX/share/icons/hicolor/scalable/apps/pelumo.svg" ] || fail "no scalable icon"

step "a user who cannot write the prefix"
export HOME="$E2E_TMP/home" QT_QPA_PLATFORM=xcb
unset XDG_CONFIG_HOME XDG_DATA_HOME
USER_DATA="$HOME/.local/share/Quillmere/pelumo"
mkdir -p "$USER_DATA" "$E2E_TMP/bin"
# The user's own route table, which an installed copy prefers to the shipped one.
printf '88#測試站#3.30\r\n88#測試站#2.10\r\n' >"$USER_DATA/routes.dat"
seed_settings "Loadtime=5000" "CardType=4"
# Stands in for the desktop's opener, so that the viewer's request can be seen.
cat >"$E2E_TMP/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$E2E_TMP/opened"
EOF
chmod 755 "$E2E_TMP/bin/xdg-open"
: >"$E2E_TMP/opened"
chmod 666 "$E2E_TMP/opened"
if $as_root; then
    chown -R 65534:65534 "$HOME"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
else
    chmod -R a-w "$PREFIX"
    as_user=()
fi
"${as_user[@]}" sh -c ": >'$program_dir/probe'" 2>/dev/null && fail "the user can write $program_dir"
start_xvfb

step "start from the PATH, as the desktop entry does"
start_app "${as_user[@]}" env PATH="$E2E_TMP/bin:$PREFIX/bin:$PATH" pelumo
calibrate
start_watch "$PIXELWATCH"
power_on_and_boot
log_in

step "output: 輸出 輸入"
press 輸出
wait_lamps "RYG" 2
press 輸入
LOG="$USER_DATA/log.txt"
for i in $(seq 50); do
    [ -s "$LOG" ] && break
    sleep 0.1
done
[ -s "$LOG" ] || fail "no log.txt in $USER_DATA"
[ "$(xdotool search --onlyvisible --name '^巴士Pelumo機模擬器$' | wc -l)" -eq 1 ] \
    || fail "a message box came up during the output"
events=$(sed 's/\r$//; s/^[0-9:]\{8\}//' "$LOG" | sed -n '2,$p')
expected=$' Start Logging\n Route Changed 88\n Fare Changed 3.30\n -----'
[ "$events" = "$expected" ] || fail "log.txt holds"$'\n'"$events"
leftovers=$(ls -A "$program_dir" | grep -vxF -e pelumo -e pelumo_charts.so -e routes.dat -e installed || true)
[ -z "$leftovers" ] || fail "the program left files next to itself: $leftovers"

step "程式 → 檢視輸出結果 opens that log"
menu_keys l
for i in $(seq 50); do
    [ -s "$E2E_TMP/opened" ] && break
    sleep 0.1
done
opened=$(cat "$E2E_TMP/opened")
[ "$opened" = "$LOG" ] || [ "$opened" = "file://$LOG" ] || fail "the viewer opened \"$opened\", not $LOG"

step "結束(&X)"
menu_keys x
wait_app_end
[ "$(stored CardType)" = 4 ] || fail "CardType is $(stored CardType) after 結束"

log "PASS in $(( $(date +%s) - started )) s"
