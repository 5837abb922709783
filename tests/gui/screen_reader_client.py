#!/usr/bin/env python3
"""A screen reader's view of the window over the accessibility bus (AT-SPI), as Orca has it.

Run with the program to start: it starts the program, reads its main window, listens for what
the window announces, chooses the second adapter with the keyboard, and presses Exit. The LAN
testbed's test runs it against two simulated adapters, NAS-Office at 192.0.2.20 among them. Exit
status 0 when everything read as expected; what did not goes to standard error.
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

CAPTION = "Varnok Lumisk Utility"
# The roles of what takes the keyboard or frames a group: each must have a name.
NAMED_ROLES = {"push button", "combo box", "text", "table", "progress bar", "panel"}
KEY_DOWN, KEY_SPACE = 0xFF54, 0x0020  # X keysyms

problems = []
announced = []


def expect(condition, what):
    if not condition:
        problems.append(what)
    return condition


def on_showing(event):
    if event.detail1 == 1 and event.source.getRoleName() == "notification":
        announced.append(event.source.name)


def wait_for(condition, seconds=20):
    """Lets the bus's events in until `condition()` is true or the time is up: its last value."""
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value
        GLib.MainContext.default().iteration(False)
        time.sleep(0.02)


def descendants(accessible):
    for child in accessible:
        if child is not None:
            yield child
            yield from descendants(child)


def window_of(name):
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.name == name:
            for window in application:
                if window is not None and window.name == CAPTION:
                    return window
    return None


def named(window, role, name):
    return next((part for part in descendants(window)
                 if part.getRoleName() == role and part.name == name), None)


def read_main_window(window):
    for part in descendants(window):
        if part.getRoleName() in NAMED_ROLES:
            # A table's corner is a panel of its own; the group boxes are the window's.
            if part.getRoleName() != "panel" or part.parent == window:
                expect(part.name, f"a {part.getRoleName()} without a name")
    devices = named(window, "table", "Network Storage Devices")
    if not expect(devices is not None, "no table of the adapters"):
        return None
    table = devices.queryTable()
    expect(table.nRows == 2, f"{table.nRows} adapter rows")
    expect(table.getColumnDescription(1) == "IP", "the second column is not IP")
    rows = {table.getAccessibleAt(row, 0).name: table.getAccessibleAt(row, 1).name
            for row in range(table.nRows)}
    expect(rows.get("NAS-Office") == "192.0.2.20", f"rows read {rows}")
    return table


def main(program):
    # As a desktop's login does: the accessibility bus, started on demand, types on this display.
    subprocess.run(["dbus-update-activation-environment", "DISPLAY"], check=True)
    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
    process = subprocess.Popen([program])
    try:
        window = wait_for(lambda: window_of("lumisk"))
        if not expect(window is not None, "the window did not come on the bus"):
            return
        table = read_main_window(window)
        refresh = named(window, "push button", "Refresh")
        refresh.queryAction().doAction(0)
        expect(wait_for(lambda: "2 adapters found" in announced),
               f"the search's end was not announced: {announced}")
        # The second adapter with the keys: the focus starts in the list of adapters.
        second = table.getAccessibleAt(1, 1).name
        address = named(window, "text", "IP")
        for key in (KEY_DOWN, KEY_SPACE):
            pyatspi.Registry.generateKeyboardEvent(key, None, pyatspi.KEY_SYM)
        expect(wait_for(lambda: address.queryText().getText(0, -1) == second),
               f"the address field reads {address.queryText().getText(0, -1)!r}, not {second}")
        named(window, "push button", "Exit").queryAction().doAction(0)
        expect(wait_for(lambda: process.poll() is not None), "Exit did not end the program")
    finally:
        if process.poll() is None:
            process.kill()
        process.wait()


if __name__ == "__main__":
    main(sys.argv[1])
    for problem in problems:
        print(problem, file=sys.stderr)
    sys.exit(1 if problems else 0)
