#!/usr/bin/env bash
# The journal through a kill -9: the real program under a private X server, worked from
# the keyboard (power, log-in, cards tapped), killed with SIGKILL in the middle of the
# day. Every row the journal held before the kill is there afterwards, unchanged, and the
# file is whole. The journal is followed with the sqlite3 command while the program runs.
#
#   journal_kill_e2e.sh PELUMO_BINARY SOURCE_DIR

here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

[ $# -eq 2 ] || { echo "usage: $0 PELUMO_BINARY SOURCE_DIR"; exit 2; }
BINARY=$1 SRC=$2
require_tools sqlite3

prepare_program "$BINARY" "$SRC/assets/routes.dat"
# The start-up card stays on the reader's card: in service every tap is a refused read.
seed_settings "Loadtime=5000" "CardType=4"
start_xvfb
start_app "$E2E_TMP/program/pelumo"
JOURNAL="$HOME/.local/share/Quillmere/pelumo/journal/journal.sqlite"

sql() { sqlite3 -cmd ".timeout 2000" "$JOURNAL" "$1" 2>/dev/null; }
count() { sql "SELECT COUNT(*) FROM events WHERE kind = '$1'" || echo 0; }
key() { xdotool windowfocus --sync "$MAIN_WIN" 2>/dev/null || true; xdotool key --clearmodifiers "$1"; }
# Polls the journal until `kind` has at least `n` rows, pressing `again` (if any) each
# second meanwhile; fails after `seconds`.
wait_rows() # kind n seconds [again]
{
    local i
    for i in $(seq $(( $3 * 10 ))); do
        [ "$(count "$1")" -ge "$2" ] && return 0
        [ -n "${4:-}" ] && [ $(( i % 10 )) -eq 0 ] && key "$4"
        sleep 0.1
    done
    fail "the journal has $(count "$1") rows of $1 after $3 s, not $2"
}

step "power on: the journal opened after the first paint holds it"
key ctrl+p
wait_rows power_on 1 10

step "log-in with the start-up card, tapped until the prompt takes it"
wait_rows log_in 1 40 Insert

step "cards tapped in service, each a refused read"
for n in 1 2 3 4 5; do
    key Insert
    wait_rows read "$n" 10 Insert
done
key Down

step "kill -9 in the middle of the day"
before=$(sql "SELECT id, at, kind, IFNULL(trip, ''), IFNULL(outcome, '') FROM events ORDER BY id")
[ -n "$before" ] || fail "nothing read from the journal while the program ran"
kill -KILL "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
APP_PID=""

step "every recorded row survives, the file is whole"
[ "$(sql "PRAGMA integrity_check")" = ok ] || fail "the journal is damaged: $(sql "PRAGMA integrity_check")"
lines=$(wc -l <<<"$before")
after=$(sql "SELECT id, at, kind, IFNULL(trip, ''), IFNULL(outcome, '') FROM events ORDER BY id LIMIT $lines")
[ "$after" = "$before" ] || fail "rows lost or changed by the kill:$(diff <(echo "$before") <(echo "$after") | head)"
[ "$(sql "SELECT COUNT(*) FROM events WHERE kind = 'read' AND outcome = 'refused_card'")" -ge 5 ] ||
    fail "the refused reads are not in the journal"
[ "$(sql "SELECT refused_card FROM trips ORDER BY id DESC LIMIT 1")" -ge 1 ] ||
    fail "the trip's sums lack the refused reads"

step "the next run opens the same journal and writes on"
start_app "$E2E_TMP/program/pelumo"
key ctrl+p
wait_rows power_on 2 10
log "PASS: $lines rows before the kill, all there after it"
