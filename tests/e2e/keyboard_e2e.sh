#!/usr/bin/env bash
# A short working day on the real program from the keyboard alone, under a private X
# server, with no pointer event at all: keys alone that switch nothing on, Ctrl+P, one tap
# of the card key to log in, route 2X typed with letters, a card tapped outside the
# readable corner, a section down, the terminus and the output answered with Y, the help
# page and the log with a desktop opener that finds no browser or editor, and 結束. Checks
# the lamps on screen as it goes, the program's own viewer standing in for the browser and
# the editor, then the block in log.txt: no refusal in it. With "en" the same day runs in
# the English interface, chosen by nothing but an English locale.
#
#   keyboard_e2e.sh PELUMO_BINARY PIXELWATCH_BINARY SOURCE_DIR [en]

here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

[ $# -eq 3 ] || [ $# -eq 4 ] || { echo "usage: $0 PELUMO_BINARY PIXELWATCH_BINARY SOURCE_DIR [en]"; exit 2; }
BINARY=$1 PIXELWATCH=$2 SRC=$3
if [ "${4:-}" = en ]; then
    LOCALE=en_US.UTF-8 MAIN_TITLE="Pelumo Bus Simulator"
else
    LOCALE=C.UTF-8 # anything but English: Chinese
fi
require_tools xdg-open

prepare_program "$BINARY" "$SRC/assets/routes.dat"
# The start-up card is already chosen; the 5 s connection wait keeps the boot short.
seed_settings "Loadtime=5000" "CardType=4"
start_xvfb
# The real xdg-open as on a system with no browser or editor: no applications to find a
# handler among, and a browser variable naming none, so that this machine's browser stays out.
mkdir -p "$E2E_TMP/no-applications"
start_app env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u LC_ALL -u LC_MESSAGES LANG="$LOCALE" \
    XDG_DATA_DIRS="$E2E_TMP/no-applications" \
    BROWSER=pelumo-e2e-no-browser "$E2E_TMP/program/pelumo"
calibrate
start_watch "$PIXELWATCH"

VIEWER=""
wait_window() # name [gone]: waits for the window so named to show, or to go
{
    local i
    for i in $(seq 100); do
        VIEWER=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
        [ "${2:-}" = gone ] && [ -z "$VIEWER" ] && return 0
        [ "${2:-}" != gone ] && [ -n "$VIEWER" ] && return 0
        sleep 0.1
    done
    fail "the window \"$1\" is not ${2:-shown} after 10 s"
}

keys() # xdotool key names, sent to the main window one after another
{
    xdotool windowfocus --sync "$MAIN_WIN" 2>/dev/null || true
    mark
    local k
    for k in "$@"; do
        xdotool key --clearmodifiers "$k"
        sleep 0.15
    done
}

step "no key alone switches the power"
keys F2 p Delete
keep_lamps "---" 3

step "power on with Ctrl+P: lamp test and boot"
keys ctrl+p
wait_lamp_sequence 10 "---" "--G" "-YG" "RYG" "---"
wait_screen 83DB85 3
wait_screen 85DB85 10
sleep 1.3

step "log-in with one tap of the card key"
keys Insert
wait_lamps "RYG" 5
wait_lamps "---" 5

step "route 2X typed with letters, after F2 that switches nothing off"
keys F2 F5 2 x Return
wait_lamps "RYG" 3
wait_lamps "---" 5

step "a card tapped outside the readable corner: the red lamp, then nothing more"
keys shift+Insert
wait_lamps "R--" 4
wait_lamps "---" 5
keep_lamps "---" 2

step "a section down"
keys Down
wait_lamps "RYG" 3
wait_lamps "---" 5

step "the terminus, answered with Y"
keys F7 y
wait_lamps "RYG" 3
wait_lamps "---" 5

step "output, answered with Y"
keys F9 y
wait_lamps "RYG" 3
sleep 1

step "F1 with no browser: the help page in the program's own viewer, Esc closes it"
keys F1
wait_window ".+ - $MAIN_TITLE"
xdotool windowfocus --sync "$VIEWER" key Escape
wait_window ".+ - $MAIN_TITLE" gone

step "程式 → 檢視輸出結果 with no editor: the log in the program's own viewer"
menu_keys l
wait_window "log.txt - $MAIN_TITLE"
xdotool windowfocus --sync "$VIEWER" key Escape
wait_window "log.txt - $MAIN_TITLE" gone

step "結束 with Ctrl+Q"
keys ctrl+q
wait_app_end

step "log.txt"
log_file="$E2E_TMP/program/log.txt"
[ -f "$log_file" ] || fail "no log.txt"
events=$(tr -d '\r' <"$log_file" | sed -n '2,$p' | sed '/^$/d' | cut -c9-)
want=" Start Logging
 Route Changed 1
 Fare Changed 5.40
 Route Changed 2X
 Fare Changed 9.10
 Route Changed 2X
 Fare Changed 6.5
 Route Changed 2X
 Fare Changed 9.10
 Finished Trip
 Direction Changed
 -----"
[ "$events" = "$want" ] || fail "log.txt holds another day: $(printf '\n%s' "$events")"
grep -q $'^[0-9][0-9]-[0-9][0-9]-[0-9]\\{4\\}\r$' "$log_file" || fail "log.txt has no date line"
log "passed"
