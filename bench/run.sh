#!/usr/bin/env bash
# Builds the benchmarks and prints one table: start-up and peak memory against a bare Qt
# window that shows one line of Chinese text, as any program with these menus must (same
# run, median of BENCH_REPS interleaved launches, 15 unless given; a bare window without
# text as a footnote), CPU while logged in and idle for
# BENCH_IDLE_SECONDS (default 60, real time), loading routes.dat, and an output with a
# large log.txt, and the own viewer on a large log.txt. Runs on a private X server (xvfb-run) when there is one, else offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${BENCH_INNER:-}" ]; then
    BUILD_TARGETS="bench_bare bench_startup bench_idle bench_routes bench_output bench_journal bench_report bench_viewer pelumo_charts" \
        scripts/setup.sh >/dev/null
    if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
        BENCH_INNER=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
    fi
    [ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
fi

bin=build/bench
routes=assets/routes.dat
reps=${BENCH_REPS:-15}
idle=${BENCH_IDLE_SECONDS:-60}
platform=${QT_QPA_PLATFORM:-xcb}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
launch() { BENCH_T0=$(date +%s%N) "$@" 2>/dev/null; }

# Interleaved, so that whatever else the machine does falls on all three alike.
: >/tmp/bench.$$.bare; : >/tmp/bench.$$.text; : >/tmp/bench.$$.app
trap 'rm -f /tmp/bench.$$.*' EXIT
for _ in $(seq "$reps"); do
    launch "$bin/bench_bare" >>/tmp/bench.$$.bare
    launch "$bin/bench_bare" --text >>/tmp/bench.$$.text
    launch "$bin/bench_startup" "$routes" >>/tmp/bench.$$.app
done
col() { cut -d' ' -f"$2" "/tmp/bench.$$.$1" | median; }
bare_ms=$(col bare 1); bare_kb=$(col bare 2)
text_ms=$(col text 1); text_kb=$(col text 2)
app_ms=$(col app 1); app_kb=$(col app 2)

read -r _ idle_pct < <("$bin/bench_idle" "$routes" "$idle" 2>/dev/null)
mapfile -t rt < <("$bin/bench_routes" | tail -n 2)
mapfile -t out < <("$bin/bench_output" "$routes" 2>/dev/null | tail -n 2)
report=$("$bin/bench_report" 2>/dev/null | tail -n 1)
mapfile -t jn < <("$bin/bench_journal" 1000 1000000 2>/dev/null)
field() { echo "$1" | awk -v n="$2" '{print $n}'; }
read -r _ view_ms view_kb < <("$bin/bench_viewer" 200 2>/dev/null)
read -r _ line_ms line_kb < <("$bin/bench_viewer" 50 line 2>/dev/null)

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
mb() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }

printf '\nBenchmarks (%s, %s launches each, medians)\n\n' "$platform" "$reps"
printf '| %-50s | %12s | %12s | %6s | %-10s |\n' measure pelumo reference ratio target
printf '|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..52})" "$(printf -- '-%.0s' {1..14})" \
    "$(printf -- '-%.0s' {1..14})" "$(printf -- '-%.0s' {1..8})" "$(printf -- '-%.0s' {1..12})"
row() { printf '| %-50s | %12s | %12s | %6s | %-10s |\n' "$@"; }
row "start-up to first painted window, ms" "$app_ms" "$text_ms" "$(ratio "$app_ms" "$text_ms")" "<= 1.10"
row "peak memory, MB" "$(mb "$app_kb")" "$(mb "$text_kb")" "$(ratio "$app_kb" "$text_kb")" "<= 1.10"
row "CPU logged in and idle ${idle} s, % of one core" "$idle_pct" "" "" "< 0.5"
row "load routes.dat, $(field "${rt[0]}" 1) lines, ms" "$(field "${rt[0]}" 3)" "" "" ""
row "load routes.dat, $(field "${rt[1]}" 1) lines, ms" "$(field "${rt[1]}" 3)" "" "" "< 1000"
row "output with log.txt of $(field "${out[0]}" 1) MB, ms" "$(field "${out[0]}" 2)" "" "" ""
row "output with log.txt of $(field "${out[1]}" 1) MB, ms" "$(field "${out[1]}" 2)" "$(field "${out[0]}" 2)" \
    "$(ratio "$(field "${out[1]}" 2)" "$(field "${out[0]}" 2)")" "close to 1"
row "trip report, $(field "$report" 1) trips, open and draw, ms" "$(field "$report" 3)" "" "" "< 1000"
row "own viewer on a 200 MB log.txt, ms to first paint" "$view_ms" "" "" "< 100"
row "own viewer on a 200 MB log.txt, peak memory, MB" "$(mb "$view_kb")" "" "" ""
row "own viewer on one 50 MB line, ms to first paint" "$line_ms" "" "" "< 100"
row "a read's journal write, median, ms" "$(field "${jn[0]}" 3)" "" "" "< 1"
row "a read's journal write, 99th percentile, ms" "$(field "${jn[0]}" 4)" "" "" "< 10"
row "trip report over $(field "${jn[1]}" 2) reads, ms" "$(field "${jn[1]}" 5)" "" "" "< 1000"

printf '\nThe reference is a bare Qt window with an MDI area and one Chinese label. Without\n'
printf 'the label (no font system at all): %s ms and %s MB, ratios %s and %s.\n' \
    "$bare_ms" "$(mb "$bare_kb")" "$(ratio "$app_ms" "$bare_ms")" "$(ratio "$app_kb" "$bare_kb")"
