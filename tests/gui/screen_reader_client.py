#!/usr/bin/env python3
"""A screen reader's view of lumisk over the accessibility bus (AT-SPI), with pyatspi as Orca.

Starts the program given, reads its main window, hears the search's end, chooses the second
adapter by keys and presses Exit; the LAN test runs it against NAS-Office (192.0.2.20) and one
more adapter. Exit status 1, with what read otherwise on standard error, on any difference.
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# The roles of what a person works with: each needs a name. Group boxes are the window's panels.
NAMED_ROLES = {"push button", "combo box", "text", "table", "progress bar", "panel"}
KEY_DOWN, KEY_SPACE = 0xFF54, 0x0020  # X keysyms
problems, announced = [], []


def expect(condition, what):
    if not condition:
        problems.append(what)


def wait_for(condition, seconds=20):
    """Lets the bus's events in until condition() holds or the time is up: its last value."""
    deadline = time.monotonic() + seconds
    while not (value := condition()) and time.monotonic() < deadline:
        GLib.MainContext.default().iteration(False)
        time.sleep(0.02)
    return value


def parts(accessible):
    for child in filter(None, accessible):
        yield child
        yield from parts(child)


def main_window():
    for application in filter(None, pyatspi.Registry.getDesktop(0)):
        if application.name == "lumisk":
            return next((w for w in application if w and w.name == "Varnok Lumisk Utility"), None)
    return None


def part(window, role, name):
    return next(p for p in parts(window) if p.getRoleName() == role and p.name == name)


def on_showing(event):
    if event.detail1 == 1 and event.source.getRoleName() == "notification":
        announced.append(event.source.name)


def read(program):
    # As a desktop's login does: the accessibility bus, started on demand, types on this display.
    subprocess.run(["dbus-update-activation-environment", "DISPLAY"], check=True)
    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
    process = subprocess.Popen([program])
    try:
        window = wait_for(main_window)
        for each in parts(window):
            if each.getRoleName() in NAMED_ROLES and (each.getRoleName() != "panel" or
                                                      each.parent == window):
                expect(each.name, f"a {each.getRoleName()} without a name")
        table = part(window, "table", "Network Storage Devices").queryTable()
        rows = {table.getAccessibleAt(row, 0).name: table.getAccessibleAt(row, 1).name
                for row in range(table.nRows)}
        expect(rows.get("NAS-Office") == "192.0.2.20" and table.getColumnDescription(1) == "IP",
               f"the adapters read {rows} under {table.getColumnDescription(1)}")
        announced.clear()  # the first search's, heard as the window showed
        part(window, "push button", "Refresh").queryAction().doAction(0)
        expect(wait_for(lambda: "2 adapters found" in announced), f"announced {announced}")
        # The focus starts in the adapters' list: the second adapter with the keys.
        for key in (KEY_DOWN, KEY_SPACE):
            pyatspi.Registry.generateKeyboardEvent(key, None, pyatspi.KEY_SYM)
        address = part(window, "text", "IP").queryText()
        second = table.getAccessibleAt(1, 1).name
        expect(wait_for(lambda: address.getText(0, -1) == second),
               f"the address reads {address.getText(0, -1)!r}, not {second}")
        part(window, "push button", "Exit").queryAction().doAction(0)
        expect(wait_for(lambda: process.poll() is not None), "Exit did not end the program")
    finally:
        if process.poll() is None:
            process.kill()
        process.wait()


if __name__ == "__main__":
    read(sys.argv[1])
    print(*problems, sep="\n", file=sys.stderr)
    sys.exit(1 if problems else 0)
