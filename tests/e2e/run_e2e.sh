#!/usr/bin/env bash
# A working day on the real program, under a private X server, worked with the pointer:
# switch on, boot, log in, enter routes, step sections, turn at the terminus, present
# every kind of card, output the trip log and end the program. Checks the lamps on
# screen as it goes, then log.txt and the settings store.
#
#   run_e2e.sh PELUMO_BINARY PIXELWATCH_BINARY SOURCE_DIR
#
# The card settings dialog is worked with the keyboard, in its tab order.

here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

[ $# -eq 3 ] || { echo "usage: $0 PELUMO_BINARY PIXELWATCH_BINARY SOURCE_DIR"; exit 2; }
BINARY=$1 PIXELWATCH=$2 SRC=$3
require_tools
started=$(date +%s)

# ---- the route table, read as the program reads it --------------------------------------

ROUTES="$SRC/assets/routes.dat"
declare -a R_ROUTE R_DEST R_FARE R_HASR R_HASD
N_LINES=0
load_routes()
{
    local line rest
    while IFS= read -r line || [ -n "$line" ]; do
        line=${line%$'\r'}
        [ "$N_LINES" -eq 0 ] && line=${line#$'\xEF\xBB\xBF'}
        R_HASR[N_LINES]=0 R_HASD[N_LINES]=0 R_ROUTE[N_LINES]="" R_DEST[N_LINES]="" R_FARE[N_LINES]=""
        if [[ $line == *"#"* ]]; then
            R_HASR[N_LINES]=1 R_ROUTE[N_LINES]=${line%%#*}
            rest=${line#*#}
            if [[ $rest == *"#"* ]]; then
                R_HASD[N_LINES]=1 R_DEST[N_LINES]=${rest%%#*} R_FARE[N_LINES]=${rest#*#}
            fi
        fi
        N_LINES=$(( N_LINES + 1 ))
    done <"$ROUTES"
}

find_route() # text → first line of that route with a destination, or -1
{
    local i
    for (( i = 0; i < N_LINES; i++ )); do
        if [ "${R_HASD[i]}" = 1 ] && [ "${R_ROUTE[i]}" = "$1" ] && [ -n "${R_DEST[i]}" ]; then
            echo "$i"; return
        fi
    done
    echo -1
}

step_from() # line, +1 or -1 → the neighbouring section, or the same line at the end
{
    local n=$(( $1 + $2 ))
    if (( n >= 0 && n < N_LINES )) && [ "${R_HASD[n]}" = 1 ] \
        && [ "${R_ROUTE[n]}" = "${R_ROUTE[$1]}" ] && [ "${R_DEST[n]}" = "${R_DEST[$1]}" ]; then
        echo "$n"
    else
        echo "$1"
    fi
}

other_direction() # line → first line of the same route towards another place, or -1
{
    local i
    for (( i = 0; i < N_LINES; i++ )); do
        if [ "${R_HASD[i]}" = 1 ] && [ "${R_ROUTE[i]}" = "${R_ROUTE[$1]}" ] \
            && [ "${R_DEST[i]}" != "${R_DEST[$1]}" ]; then
            echo "$i"; return
        fi
    done
    echo -1
}

cents() # fare text → cents
{
    [[ $1 =~ ^([0-9]+)(\.([0-9]{1,2}))?$ ]] || fail "fare \"$1\" is not one this test can reckon with"
    local frac="${BASH_REMATCH[3]}00"
    echo $(( 10#${BASH_REMATCH[1]} * 100 + 10#${frac:0:2} ))
}

money() { printf '%d.%02d' $(( $1 / 100 )) $(( $1 % 100 )); }

half() # cents → the concession fare: half, to the even cent, then up to the next ten cents
{
    local c=$1 h
    if (( c % 2 == 0 )); then h=$(( c / 2 )); else h=$(( (c - 1) / 2 )); (( h % 2 )) && h=$(( h + 1 )); fi
    (( h % 10 )) && h=$(( (h + 10) / 10 * 10 ))
    echo "$h"
}

# ---- what the trip log must hold ---------------------------------------------------------

EXPECT=()
expect() { EXPECT+=("$@"); }

CUR=-1 # current route line
load_expected() # line: a route load as the console logs it
{
    CUR=$1
    expect " Route Changed ${R_ROUTE[$1]}" " Fare Changed ${R_FARE[$1]}"
}

# ---- the card ----------------------------------------------------------------------------

CARD=0 LANGUAGE=0
PURSE=10000 # cents
PAID_AT=0   # when the last payment started the 15 s double-charge lock

# Sets the card's type and language in the card settings dialog, with the keyboard:
# the dialog opens on the type list: Home and Down to the type, Tab to the language buttons,
# Left for 中文 or Right for 英文, Esc to close.
set_card() # type language
{
    local dlg="" i
    menu_keys s
    for i in $(seq 50); do
        dlg=$(xdotool search --onlyvisible --name '^Pelumo咭設定$' 2>/dev/null | head -n1 || true)
        [ -n "$dlg" ] && break
        sleep 0.1
    done
    [ -n "$dlg" ] || fail "Pelumo咭設定(&S)... opened no dialog"
    xdotool windowfocus --sync "$dlg" 2>/dev/null || true
    xdotool key Home
    for (( i = 0; i < $1; i++ )); do xdotool key Down; done
    xdotool key Tab
    if [ "$2" = 1 ]; then xdotool key Right; else xdotool key Left; fi
    xdotool key Escape
    for i in $(seq 50); do
        xdotool search --onlyvisible --name '^Pelumo咭設定$' >/dev/null 2>&1 || break
        sleep 0.1
    done
    xdotool search --onlyvisible --name '^Pelumo咭設定$' >/dev/null 2>&1 && fail "Esc did not close the card dialog"
    CARD=$1 LANGUAGE=$2
}

wait_lock_expiry()
{
    local left=$(( PAID_AT + 17 - $(date +%s) ))
    if (( left > 0 )); then log "waiting ${left}s for the double-charge lock to expire"; sleep "$left"; fi
}

# A read that charges the card: green lamp (yellow too once the value is used up).
read_pays()
{
    wait_lock_expiry
    local full charged lit
    full=$(cents "${R_FARE[CUR]}")
    charged=$full
    [ "$CARD" = 1 ] || [ "$CARD" = 3 ] && charged=$(half "$full")
    present
    PAID_AT=$(date +%s)
    PURSE=$(( PURSE - charged ))
    lit="--G"
    (( PURSE <= 0 )) && lit="-YG"
    wait_lamps "$lit" 4
    withdraw
    expect " Paid: Adult Fare \$$(money "$full")"
    wait_lamps "---" 4
}

read_refused() # lamps, log text or "" → a read that charges nothing
{
    present "${3:-600}" "${4:-450}"
    wait_lamps "$1" 4
    withdraw
    [ -n "$2" ] && expect "$2"
    wait_lamps "---" 4
}

# ---- the day -----------------------------------------------------------------------------

load_routes
[ "$N_LINES" -gt 0 ] || fail "$ROUTES is empty"
(( $(find_route 12) >= 0 )) || fail "$ROUTES has no route 12 to enter"
# The first lettered route the keypad can type, else one that is not there.
LETTERED=""
for (( i = 0; i < N_LINES; i++ )); do
    if [[ ${R_ROUTE[i]} =~ ^[0-9A-Z]*[A-Z][0-9A-Z]*$ ]] && [ -n "${R_DEST[i]}" ]; then
        LETTERED=${R_ROUTE[i]}; break
    fi
done
[ -n "$LETTERED" ] || LETTERED=2X

prepare_program "$BINARY" "$ROUTES"
start_xvfb

step "start"
seed_settings "Loadtime=5000"
start_app "$E2E_TMP/program/pelumo"
expect " Start Logging"
calibrate
start_watch "$PIXELWATCH"
[ "$(lamps)" = "---" ] || fail "lamps not all unlit after start: $(lamps)"

power_on_and_boot

step "log-in refuses an adult card"
read_refused "R--" ""
set_card 4 0

log_in
load_expected 0

step "the start-up card in service: not enough value"
read_refused "R--" " Not enough value"

step "card held outside the readable corner: asked again, not logged; its picture comes and goes"
read -r px py <<<"$(reader_at 2700 1600)"
spot="$(( px + 15 )),$(( py + 15 ))" # under the card picture, which hangs below and right
shot
bare=$(pixels "$spot")
present 2700 1600
shot
[ "$(pixels "$spot")" != "$bare" ] || fail "no card picture next to the pointer on the reader"
wait_lamps "R--" 4
withdraw
shot
[ "$(pixels "$spot")" = "$bare" ] || fail "the card picture stayed on the reader after withdrawing"
wait_lamps "---" 4

step "adult card, Chinese: paid"
set_card 0 0
read_pays
step "child card within 15 s: already processed"
set_card 1 0
read_refused "-YG" " Card Processed"

# The route keys fill the 15 s double-charge lock before the next payment.
step "route entry: 路線 1 2 輸入"
press 路線
wait_lamps "RYG" 2
press 1 2 輸入
load_expected "$(find_route 12)"
wait_lamps "---" 5

step "sections: ↓ ↓ ↑"
loads=0
for key in ↓ ↓ ↑; do
    if [ "$key" = ↓ ]; then next=$(step_from "$CUR" +1); else next=$(step_from "$CUR" -1); fi
    press "$key"
    if [ "$next" != "$CUR" ]; then load_expected "$next"; loads=$(( loads + 1 )); fi
done
if [ "$loads" -gt 0 ]; then
    wait_lamps "RYG" 2
    wait_lamps "---" 5
else
    keep_lamps "---" 1 # a route of one section: nothing to step to
fi

step "child card: half fare"
read_pays

step "terminus: 終點 輸入"
press 終點 輸入
other=$(other_direction "$CUR")
if [ "$other" -ge 0 ]; then
    wait_lamps "RYG" 2
    load_expected "$other"
    expect " Finished Trip" " Direction Changed"
    wait_lamps "---" 5
else
    keep_lamps "---" 1
fi

step "start of a trip and the direction key: 起點 輸入, 方向 輸入"
press 起點 輸入
expect " Start Trip"
press 方向 輸入
expect " Direction Changed"
keep_lamps "---" 0.5

step "a route that is not there: 路線 9 9 9 輸入, then 取消"
(( $(find_route 999) < 0 )) || fail "route 999 is in $ROUTES; this step needs a missing route"
press 路線
wait_lamps "RYG" 2
press 9 9 9 輸入
keep_lamps "RYG" 1 # still out of service, still in route entry
press 取消
wait_lamps "---" 2

step "a route with letters: 路線, then $LETTERED with SHIFT for each letter, 輸入"
press 路線
wait_lamps "RYG" 2
type_route "$LETTERED"
press 輸入
lettered_line=$(find_route "$LETTERED")
if [ "$lettered_line" -ge 0 ]; then
    load_expected "$lettered_line"
    wait_lamps "---" 5
else
    log "no lettered route in $ROUTES: $LETTERED must be reported missing"
    keep_lamps "RYG" 1
    press 取消
    wait_lamps "---" 2
fi

step "student card, English: full fare"
set_card 2 1
read_pays
step "elderly card within 15 s: already processed"
set_card 3 1
read_refused "-YG" " Card Processed"

step "output: 輸出 輸入"
press 輸出
wait_lamps "RYG" 2
press 輸入
expect " -----"
LOG="$E2E_TMP/program/log.txt"
for i in $(seq 50); do
    [ -s "$LOG" ] && break
    sleep 0.1
done
[ -s "$LOG" ] || fail "no log.txt after the output"

step "after the output the card processor reads no card"
present
keep_lamps "RYG" 1.5
withdraw

step "結束(&X)"
menu_keys x
wait_app_end

# ---- the record of the day ---------------------------------------------------------------

step "log.txt"
mapfile -t lines < <(sed 's/\r$//' "$LOG")
[ "$(tail -c 4 "$LOG" | od -An -c | tr -d ' ')" = '\r\n\r\n' ] \
    || fail "log.txt does not end with a line and an empty line, both CR LF"
[[ ${lines[0]} =~ ^[0-1][0-9]-[0-3][0-9]-20[0-9]{2}$ ]] || fail "first line \"${lines[0]}\" is no date"
[ -z "${lines[-1]}" ] || fail "the block does not end with an empty line"
got=()
for (( i = 1; i < ${#lines[@]} - 1; i++ )); do
    [[ ${lines[i]} =~ ^[0-2][0-9]:[0-5][0-9]:[0-5][0-9](\ .*)$ ]] || fail "line $((i + 1)) \"${lines[i]}\" has no time"
    got+=("${BASH_REMATCH[1]}")
done
if [ "${got[*]}" != "${EXPECT[*]}" ] || [ ${#got[@]} -ne ${#EXPECT[@]} ]; then
    diff <(printf '%s\n' "${EXPECT[@]}") <(printf '%s\n' "${got[@]}") || true
    fail "log.txt events differ from the day's (expected < > written)"
fi
log "log.txt holds the ${#got[@]} events of the day"

step "settings store after 結束"
[ "$(stored Loadtime)" = 5000 ] || fail "Loadtime is $(stored Loadtime)"
[ "$(stored CardType)" = "$CARD" ] || fail "CardType is $(stored CardType), expected $CARD"
[ "$(stored Language)" = "$LANGUAGE" ] || fail "Language is $(stored Language), expected $LANGUAGE"
[ "$(stored Lastroute)" = "$LETTERED" ] || fail "Lastroute is \"$(stored Lastroute)\", expected $LETTERED"
purse=$(stored PurseValue)
awk -v s="$purse" -v c="$PURSE" 'BEGIN { d = s * 100 - c; exit !(d < 0.5 && d > -0.5) }' \
    || fail "PurseValue is $purse, expected $(money "$PURSE")"

log "PASS in $(( $(date +%s) - started )) s"
