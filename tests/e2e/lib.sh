# Shared helpers for the end-to-end tests: a private X server, the real program in a
# temporary home and program directory, real pointer movements and clicks at the places of
# the keys and the reader, and the lamps and screen colours read back from the display.
#
# The lamps are followed by pixelwatch, which writes a timeline of their colours as they
# change. Waits search that timeline from a cursor: each user action puts the cursor at the
# state shown when it happened, each wait that succeeds moves it to what it found. So a
# lamp pattern shown for a second is never missed, however slowly this script runs.
#
# Sourced by the test scripts; every helper fails the test (exit 1) on its own.

set -euo pipefail

E2E_TMP=""
XVFB_PID=""
APP_PID=""
WATCH_PID=""
WATCH=""
CURSOR=1
MAIN_WIN=""
# The interface follows the locale: the tests read its Chinese texts whatever the machine
# speaks, unless a script chooses the English one itself (and names the title).
MAIN_TITLE=巴士Pelumo機模擬器
export LANG=C.UTF-8
unset LC_ALL LC_MESSAGES
STEP="setting up"

# Geometry, in screen pixels, found by calibrate().
BCP_X=0 BCP_Y=0 DDU_X=0 DDU_Y=0 WIN_X=0 WIN_Y=0 WIN_W=0 WIN_H=0

log() { printf '[%s] %s\n' "$(date +%T)" "$*"; }
step() { STEP="$*"; log "-- $*"; }

fail()
{
    log "FAIL during \"$STEP\": $*"
    if [ -n "$E2E_TMP" ] && [ -n "${DISPLAY:-}" ]; then
        import -window root "$E2E_TMP/failure.png" 2>/dev/null || true
        log "screenshot: $E2E_TMP/failure.png (the directory is kept)"
    fi
    E2E_KEEP=1
    exit 1
}

require_tools()
{
    local t missing=()
    for t in Xvfb xdotool import convert "$@"; do
        command -v "$t" >/dev/null || missing+=("$t")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "SKIP: missing ${missing[*]} (scripts/setup.sh installs them)"
        exit 77
    fi
}

cleanup()
{
    local rc=$?
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "$WATCH_PID" ] && kill "$WATCH_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    if [ -n "$E2E_TMP" ]; then
        # Things the test made read-only must be removable again.
        chmod -R u+w "$E2E_TMP" 2>/dev/null || true
        if [ "${E2E_KEEP:-0}" = 1 ] || [ $rc -ne 0 ]; then
            log "kept $E2E_TMP"
        else
            rm -rf "$E2E_TMP"
        fi
    fi
    exit $rc
}

make_tmp()
{
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/pelumo-e2e.XXXXXX")
    trap cleanup EXIT
    trap 'exit 130' INT TERM
}

# A temporary home and program directory holding the program and a route table, as a
# user's copy of the program stands.
prepare_program() # binary routes.dat
{
    make_tmp
    export HOME="$E2E_TMP/home" QT_QPA_PLATFORM=xcb
    unset XDG_CONFIG_HOME XDG_DATA_HOME
    mkdir -p "$HOME" "$E2E_TMP/program"
    cp "$1" "$E2E_TMP/program/pelumo"
    cp "$2" "$E2E_TMP/program/routes.dat"
    # The trip report's chart, loaded from beside the program when a report opens.
    local charts
    charts="$(dirname "$1")/pelumo_charts.so"
    if [ -f "$charts" ]; then cp "$charts" "$E2E_TMP/program/"; fi
}

start_xvfb()
{
    local i attempt n
    # A display number of its own, drawn at random rather than the lowest free one: a
    # server ending in another test could otherwise still hold the number's abstract
    # socket and remove the new server's socket file as it goes.
    for attempt in 1 2 3 4 5; do
        n=$(( 100 + RANDOM % 30000 ))
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp 2>"$E2E_TMP/xvfb.log" &
        XVFB_PID=$!
        for i in $(seq 100); do
            kill -0 "$XVFB_PID" 2>/dev/null || break
            if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
                export DISPLAY=":$n"
                log "X server on $DISPLAY"
                return 0
            fi
            sleep 0.05
        done
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    done
    fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
}

# The settings store of the temporary home, as the program keeps it.
conf_file() { echo "$HOME/.config/Quillmere/pelumo.conf"; }

seed_settings() # key=value ...
{
    mkdir -p "$(dirname "$(conf_file)")"
    { echo "[pelumo.exe]"; printf '%s\n' "$@"; } >"$(conf_file)"
}

stored() # key → the stored text, or <absent>
{
    local v
    v=$(awk -v k="$1" '
        /^\[/ { inside = ($0 == "[pelumo.exe]"); next }
        inside && index($0, k "=") == 1 { print substr($0, length(k) + 2); found = 1; exit }
        END { if (!found) print "<absent>" }' "$(conf_file)")
    # A text QSettings had to quote comes back without its quotes.
    v=${v#\"}; v=${v%\"}
    printf '%s' "$v"
}

# Starts the program and waits for its main window. Arguments: the command to run.
start_app()
{
    "$@" >"$E2E_TMP/app.log" 2>&1 &
    APP_PID=$!
    local i
    for i in $(seq 150); do
        MAIN_WIN=$(xdotool search --onlyvisible --name "^$MAIN_TITLE\$" 2>/dev/null | head -n1 || true)
        [ -n "$MAIN_WIN" ] && break
        kill -0 "$APP_PID" 2>/dev/null || fail "the program ended at start: $(cat "$E2E_TMP/app.log")"
        sleep 0.1
    done
    [ -n "$MAIN_WIN" ] || fail "no main window after 15 s"
    sleep 0.5 # the start-up sequence switches the equipment off after showing the window
    eval "$(xdotool getwindowgeometry --shell "$MAIN_WIN")"
    WIN_X=$X WIN_Y=$Y WIN_W=$WIDTH WIN_H=$HEIGHT
}

# Waits for the program to end by itself; its exit status must be 0.
wait_app_end()
{
    local i rc
    for i in $(seq 100); do
        kill -0 "$APP_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$APP_PID" 2>/dev/null && fail "the program is still running 10 s after 結束"
    rc=0
    wait "$APP_PID" || rc=$?
    APP_PID=""
    [ "$rc" -eq 0 ] || fail "the program ended with status $rc: $(cat "$E2E_TMP/app.log")"
}

# ---- screenshots and pixels ------------------------------------------------------------

SHOT=""
shot()
{
    SHOT="$E2E_TMP/shot.ppm"
    import -window root -depth 8 "$SHOT" 2>/dev/null || fail "screenshot failed"
}

# Hex colours (RRGGBB) of the last screenshot at the given "x,y" points.
pixels()
{
    local fmt="" p
    for p in "$@"; do fmt+="%[hex:p{$p}] "; done
    convert "$SHOT" -format "$fmt" info: 2>/dev/null
}

# Fraction of a rectangle (x y w h) of the last screenshot that has exactly one colour.
share_of_colour()
{
    convert "$SHOT" -crop "${3}x${4}+${1}+${2}" +repage -alpha off \
        -fill white -opaque "#$5" -fill black +opaque white -colorspace gray \
        -format '%[fx:mean]' info: 2>/dev/null
}

# ---- places ----------------------------------------------------------------------------

tw() { echo $(( ($1 + 7) / 15 )); } # twips to pixels, as the program places its controls

# The card processor's client area is found from its red lamp, which must be a square of
# exactly the unlit colour at 850,2250 twips with the other two lamps at their places.
calibrate()
{
    shot
    local box w h x y
    box=$(convert "$SHOT" -alpha off -fill black +opaque '#800000' -fill white -opaque '#800000' \
        -format '%@' info: 2>/dev/null)
    [[ "$box" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "no unlit red lamp on screen ($box)"
    w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]} x=${BASH_REMATCH[3]} y=${BASH_REMATCH[4]}
    [ "$w" -eq "$(tw 315)" ] && [ "$h" -eq "$(tw 315)" ] || fail "red lamp is ${w}x${h} pixels"
    BCP_X=$(( x - $(tw 850) )) BCP_Y=$(( y - $(tw 2250) ))
    # The panels stand side by side in identical frames: the console's client area begins
    # one card processor width plus both its frame borders further right.
    local border=$(( BCP_X - WIN_X ))
    DDU_X=$(( BCP_X + $(tw 3375) + 2 * border )) DDU_Y=$BCP_Y
    log "card processor at $BCP_X,$BCP_Y; console at $DDU_X,$DDU_Y"
}

# ---- the timeline of lamps and screen -------------------------------------------------

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
after_s() { awk -v now="$(now_ms)" -v s="$1" 'BEGIN { printf "%.0f", now + s * 1000 }'; }

# Starts pixelwatch on the three lamps and on the card processor's screen, at the far end
# of the address screen's top row where no text stands: dark under the lamp-test cover,
# the address screen's own green while it waits for the console, the plain green otherwise.
start_watch() # pixelwatch binary
{
    local at=10 # well inside each 21-pixel lamp
    WATCH="$E2E_TMP/watch.log"
    "$1" "$(( BCP_X + $(tw 850) + at )),$(( BCP_Y + $(tw 2250) + at ))" \
        "$(( BCP_X + $(tw 1480) + at )),$(( BCP_Y + $(tw 2250) + at ))" \
        "$(( BCP_X + $(tw 2100) + at )),$(( BCP_Y + $(tw 2250) + at ))" \
        "$(( BCP_X + $(tw 600) + $(tw 75) + 128 )),$(( BCP_Y + $(tw 675) + 2 ))" \
        >"$WATCH" 2>"$E2E_TMP/watch.err" &
    WATCH_PID=$!
    local i
    for i in $(seq 100); do
        [ -s "$WATCH" ] && break
        sleep 0.05
    done
    [ -s "$WATCH" ] || fail "pixelwatch wrote nothing: $(cat "$E2E_TMP/watch.err")"
    mark
}

# Lines of the timeline from a line on: number, time, lamp pattern (R, Y, G lit, - unlit,
# ? neither) and the screen colour.
TIMELINE_AWK='
function lamp(c, on, off, letter) { return c == on ? letter : (c == off ? "-" : "?") }
NR >= from { print NR, $1, lamp($2, "FF0000", "800000", "R") lamp($3, "FFFF00", "808000", "Y") \
             lamp($4, "00FF00", "008000", "G"), $5 }'
timeline() { awk -v from="${1:-$CURSOR}" "$TIMELINE_AWK" "$WATCH"; }

# The cursor to the state shown now: called by every action of the user.
mark() { CURSOR=$(wc -l <"$WATCH"); }

lamps() { timeline "$(wc -l <"$WATCH")" | awk '{ print $3 }'; }

# Waits for the lamps to show a pattern ("R--", "-YG", ...) at the cursor or after it.
wait_lamps() # pattern [timeout seconds]
{
    local limit found
    limit=$(after_s "${2:-5}")
    while :; do
        found=$(timeline | awk -v want="$1" '$3 == want { print $1; exit }')
        if [ -n "$found" ]; then CURSOR=$found; return 0; fi
        [ "$(now_ms)" -lt "$limit" ] || fail "lamps show $(lamps), expected $1"
        sleep 0.05
    done
}

# Waits for the lamps to go from the pattern at the cursor through the given ones, in
# this order and no other, to the last of them.
wait_lamp_sequence() # timeout-seconds pattern...
{
    local limit want went
    limit=$(after_s "$1")
    shift
    want="$*"
    while :; do
        went=$(timeline | awk '$3 != last { printf "%s%s", (n++ ? " " : ""), $3; last = $3 }')
        if [ "$went" = "$want" ]; then CURSOR=$(wc -l <"$WATCH"); return 0; fi
        [ "${want#"$went"}" != "$want" ] || fail "lamps went $went, expected $want"
        [ "$(now_ms)" -lt "$limit" ] || fail "lamps went $went, expected $want"
        sleep 0.05
    done
}

# The lamps keep the pattern at the cursor for a while: nothing happens.
keep_lamps() # pattern seconds
{
    sleep "$2"
    local other
    other=$(timeline | awk -v want="$1" '$3 != want { print $3; exit }')
    [ -z "$other" ] || fail "lamps changed to $other, expected them to stay $1"
}

# Waits for the screen colour at the cursor or after it; SEEN_AT is when it was seen first.
SEEN_AT=0
wait_screen() # colour [timeout seconds]
{
    local limit found
    limit=$(after_s "${2:-5}")
    while :; do
        found=$(timeline | awk -v want="$1" '$4 == want { print $1, $2; exit }')
        if [ -n "$found" ]; then CURSOR=${found% *} SEEN_AT=${found#* }; return 0; fi
        [ "$(now_ms)" -lt "$limit" ] || fail "the card processor's screen shows $(timeline "$(wc -l <"$WATCH")" | awk '{ print $4 }'), expected $1"
        sleep 0.05
    done
}

# ---- the console's keys ----------------------------------------------------------------

# Left, top, width and height in twips, relative to the console's client area.
declare -A KEY=(
    [SHIFT]="3750 600 540 465" [1]="4350 600 540 465" [2]="4950 600 540 465"
    [3]="5550 600 465 465" [光暗]="3750 1200 540 540" [4]="4350 1200 540 465"
    [5]="4950 1200 540 465" [6]="5550 1200 465 465" [對比度]="3750 1800 540 540"
    [7]="4350 1800 540 540" [8]="4950 1800 540 540" [9]="5550 1800 465 540"
    [事故]="225 2400 540 540" [F1]="825 2400 540 540" [F2]="1425 2400 465 540"
    [F3]="1950 2400 540 540" [F4]="2550 2400 540 540" [錢箱]="3150 2400 540 540"
    [輸出]="3750 2400 540 540" [空格]="4350 2400 540 540" [0]="4950 2475 465 465"
    [輸入]="5550 2400 465 1065" [開/關]="225 3000 540 540" [↑]="825 3000 465 465"
    [↓]="1425 3000 465 465" [路線]="2025 3000 465 540" [起點]="2550 3000 540 540"
    [終點]="3150 3000 540 540" [方向]="3750 3000 540 540" [取消]="4350 3000 540 540"
    [退出]="4950 3000 465 540"
)

# The key that carries each letter.
declare -A LETTER_KEY=(
    [A]=1 [B]=2 [C]=3 [D]=光暗 [E]=4 [F]=5 [G]=6 [H]=對比度 [I]=7 [J]=8 [K]=9 [L]=事故
    [M]=F1 [N]=F2 [O]=F3 [P]=F4 [Q]=錢箱 [R]=輸出 [S]=空格 [T]=0 [U]=路線 [V]=起點
    [W]=終點 [X]=方向 [Y]=取消 [Z]=退出
)

press() # key names, clicked one after another at the middle of each
{
    local k l t w h
    for k in "$@"; do
        [ -n "${KEY[$k]:-}" ] || fail "no key $k"
        read -r l t w h <<<"${KEY[$k]}"
        mark
        # No --sync: it waits for a movement that never comes when the pointer is there already.
        xdotool mousemove $(( DDU_X + (l + w / 2) / 15 )) $(( DDU_Y + (t + h / 2) / 15 )) click 1
        sleep 0.25 # slower than a double click
    done
}

# Types a route text on the keypad: digits, blanks, and capital letters through SHIFT.
type_route()
{
    local text=$1 i c
    for (( i = 0; i < ${#text}; i++ )); do
        c=${text:i:1}
        case $c in
            [0-9]) press "$c" ;;
            " ") press 空格 ;;
            [A-Z]) press SHIFT "${LETTER_KEY[$c]}" ;;
            *) fail "the keypad cannot type \"$c\"" ;;
        esac
    done
}

# ---- the card --------------------------------------------------------------------------

READER_L=150 READER_T=2925 # imgCard, twips in the card processor panel

# A point on the reader, in twips from its top-left corner.
reader_at() { echo "$(( BCP_X + $(tw $(( READER_L + $1 ))) )) $(( BCP_Y + $(tw $(( READER_T + $2 ))) ))"; }

# Presents the card: onto the reader, then a one-pixel wiggle, as a hand would.
present() # [x y twips from the reader's corner; default well inside the readable part]
{
    local x y
    read -r x y <<<"$(reader_at "${1:-600}" "${2:-450}")"
    mark
    xdotool mousemove "$x" "$y"
    sleep 0.1
    xdotool mousemove $(( x + 1 )) $(( y + 1 ))
}

# Withdraws the card to the dark background under the console.
withdraw()
{
    mark
    xdotool mousemove $(( DDU_X + 200 )) $(( DDU_Y + $(tw 3870) + 40 ))
    sleep 0.1
}

# ---- switching on ----------------------------------------------------------------------

# 開/關, the lamp test one lamp at a time, the address screen for the 5 s connection wait
# (Loadtime 5000), and the log-in prompt a second after the address screen goes.
power_on_and_boot()
{
    step "power on: lamp test"
    press 開/關
    wait_lamp_sequence 10 "---" "--G" "-YG" "RYG" "---"
    step "boot: address screen for the 5 s connection wait"
    local from to
    wait_screen 83DB85 3
    from=$SEEN_AT
    wait_screen 85DB85 10
    to=$SEEN_AT
    log "address screen stood $(( to - from )) ms"
    # 5 s of connection wait and 1 s for the next step; the default wait would be 21 s.
    (( to - from >= 5500 && to - from <= 8000 )) || fail "the address screen stood $(( to - from )) ms, not 6 s"
    sleep 1.3
}

# Presents the start-up card at the log-in prompt and waits for the first route to load.
log_in()
{
    step "log-in with the start-up card"
    present
    sleep 1.3
    withdraw # the log-in tick comes all the same; a card left on would be read in service
    wait_lamps "RYG" 5 # out of service while the first route loads
    wait_lamps "---" 5 # in service
}

# ---- the menus -------------------------------------------------------------------------

menu_keys() # access keys after Alt+P, e.g. "x"
{
    xdotool windowfocus --sync "$MAIN_WIN" 2>/dev/null || true
    mark
    xdotool key --clearmodifiers alt+p
    sleep 0.4
    xdotool key --clearmodifiers "$@"
}
