"""What a screen reader finds in the running program, through AT-SPI: the console keys as
push buttons with a press action, the press switching the equipment on, and the console's
messages and the card processor's refusal told as notifications.

    a11y_check.py PID MAIN_WINDOW_ID
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

PID = int(sys.argv[1])
MAIN_WIN = sys.argv[2]
heard = []  # (event type, role, name) of every event from a notification


def log(text):
    print(f"[{time.strftime('%T')}] {text}", flush=True)


def fail(text):
    log(f"FAIL: {text}")
    log(f"notifications heard: {heard}")
    sys.exit(1)


def pump(seconds):
    """Dispatches the bus's events for `seconds`, blocking until each arrives: a 20 ms
    tick wakes the loop so the deadline is kept when nothing comes."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    tick = GLib.timeout_add(20, lambda: True)
    try:
        while time.monotonic() < end:
            context.iteration(True)
    finally:
        GLib.source_remove(tick)


def wait_for(what, test, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump(0.1)
        found = test()
        if found:
            return found
    fail(f"no {what} after {seconds} s")


def application():
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == PID:
                return app
        except Exception:
            pass
    return None


def descendant(root, test):
    return pyatspi.findDescendant(root, lambda a: a is not None and test(a), True)


def on_event(event):
    try:
        source = event.source
        if source.getRoleName() in ("notification", "alert"):
            heard.append((event.type, source.getRoleName(), source.name))
    except Exception:
        pass


app = wait_for("application on the accessibility bus", application, 20)
log(f"application: {app.name!r}")

# The keys: push buttons named by their captions, each with a press action.
keys = {}
for name in ("輸入", "開/關", "路線 U", "7 I"):
    key = descendant(app, lambda a, n=name: a.name == n and a.getRoleName() == "push button")
    if key is None:
        fail(f"no push button named {name!r}")
    if not key.description:
        fail(f"the key {name!r} has no description")
    action = key.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        fail(f"the key {name!r} offers {names}, no Press")
    keys[name] = (key, action, names.index("Press"))
log("keys: push buttons with a press action")

line2 = descendant(app, lambda a: a.description == "車長控制器顯示屏第 2 行")
if line2 is None:
    fail("no console display line 2")

pyatspi.Registry.registerEventListener(
    on_event, "object:state-changed:showing", "object:property-change:accessible-name",
    "object:announcement", "object:text-changed")
pump(1)  # the program learns of the listeners


def heard_name(text):
    return any(name == text for (_, _, name) in heard)


log("the power key pressed through its action")
key, action, index = keys["開/關"]
action.doAction(index)
wait_for("PLEASE WAIT on the console", lambda: line2.name == "PLEASE WAIT", 10)
wait_for("PLEASE WAIT said", lambda: heard_name("PLEASE WAIT"), 5)
log(f"said as: {sorted({t for (t, _, n) in heard if n == 'PLEASE WAIT'})}")

log("the boot, up to the log-in prompt")
wait_for("the log-in prompt said", lambda: heard_name("請使用卡登入"), 40)
if line2.name != "請使用卡登入":
    fail(f"the console's line 2 is named {line2.name!r}")

log("an adult card at the log-in prompt: refused")
subprocess.run(["xdotool", "windowfocus", "--sync", MAIN_WIN], check=False)
subprocess.run(["xdotool", "key", "Insert"], check=True)
wait_for("the refusal said", lambda: heard_name("此卡無效"), 10)

# Each saying shows the notification once (Qt 6.4 drops the alert on Linux; a name that did
# not change sends no name event).
said = [name for (kind, _, name) in heard if kind == "object:state-changed:showing"]
if said != ["PLEASE WAIT", "請使用卡登入", "此卡無效"]:
    fail(f"said {said}, not each message once")
log(f"notifications: {heard}")
log("passed")
