#!/usr/bin/env bash
# What a screen reader finds in the real program: a private session bus with the
# accessibility bus on it, a private X server, the program with its accessibility bridge
# on, and a pyatspi client that works the power key through its press action and listens
# for the console's messages and the card processor's refusal (a11y_check.py).
#
#   a11y_e2e.sh PELUMO_BINARY SOURCE_DIR

here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

[ $# -eq 2 ] || { echo "usage: $0 PELUMO_BINARY SOURCE_DIR"; exit 2; }
BINARY=$1 SRC=$2
require_tools dbus-run-session
# The system's Python, where the distribution's pyatspi lives.
PYTHON=/usr/bin/python3
if ! "$PYTHON" -c 'import pyatspi' 2>/dev/null || [ ! -x /usr/libexec/at-spi-bus-launcher ]; then
    echo "SKIP: missing pyatspi or at-spi2-core (scripts/setup.sh installs them)"
    exit 77
fi

# Everything below runs on a session bus of its own, never the desktop's.
if [ -z "${PELUMO_A11Y_BUS:-}" ]; then
    exec dbus-run-session -- env PELUMO_A11Y_BUS=1 bash "$0" "$@"
fi

prepare_program "$BINARY" "$SRC/assets/routes.dat"
# An adult card, refused at the log-in prompt; the 5 s connection wait keeps the boot short.
seed_settings "Loadtime=5000" "CardType=0"
start_xvfb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
unset NO_AT_BRIDGE
start_app "$E2E_TMP/program/pelumo"

step "the accessibility tree through AT-SPI"
timeout 120 "$PYTHON" "$here/a11y_check.py" "$APP_PID" "$MAIN_WIN" || fail "see above"

step "結束 with Ctrl+Q"
xdotool windowfocus --sync "$MAIN_WIN" 2>/dev/null || true
xdotool key --clearmodifiers ctrl+q
wait_app_end
log "passed"
