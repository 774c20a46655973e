#!/usr/bin/python3
"""The window as a screen reader finds it over AT-SPI: the page's text, each
verdict as it comes, and the History window's figures as text.

Starts the program (its path is the argument) in a folder of its own, presses keys
through XTest as a person would, and reads the accessibility tree. Prints the dump
and exits non-zero when something a screen reader needs is missing.
Runs inside a D-Bus session on an X display (see run.sh)."""

import ctypes
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

xlib = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XStringToKeysym.restype = ctypes.c_ulong
xlib.XFlush.argtypes = [ctypes.c_void_p]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
display = xlib.XOpenDisplay(None)


def press(name, modifier=None):
    """Presses and releases the key of keysym name (with modifier held)."""
    codes = []
    if modifier:
        codes.append(xlib.XKeysymToKeycode(display, xlib.XStringToKeysym(modifier.encode())))
    codes.append(xlib.XKeysymToKeycode(display, xlib.XStringToKeysym(name.encode())))
    for code in codes:
        xtst.XTestFakeKeyEvent(display, code, 1, 0)
    for code in reversed(codes):
        xtst.XTestFakeKeyEvent(display, code, 0, 0)
    xlib.XFlush(display)


def find_app(timeout=20):
    deadline = time.time() + timeout
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and "kbr_dorin" in (app.name or ""):
                return app
        time.sleep(0.2)
    return None


def walk(node, depth=0, lines=None):
    lines = [] if lines is None else lines
    try:
        role = node.getRoleName()
        name, description = node.name or "", node.description or ""
    except Exception:  # gone meanwhile
        return lines
    lines.append((depth, node, role, name, description))
    for child in node:
        if child is not None:
            walk(child, depth + 1, lines)
    return lines


def dump(app):
    found = walk(app)
    for depth, _, role, name, description in found:
        print("  " * depth + f"[{role}] name={name!r} description={description[:160]!r}")
    return found


def wait_for(app, test, timeout=15):
    deadline = time.time() + timeout
    while time.time() < deadline:
        for _, node, role, name, description in walk(app):
            if test(role, name, description):
                return node, name, description
        time.sleep(0.2)
    return None


def main():
    failures = []

    def expect(what, ok):
        print(("ok   " if ok else "FAIL ") + what)
        if not ok:
            failures.append(what)

    folder = tempfile.mkdtemp(prefix="kbr_a11y_")
    program = subprocess.Popen([os.path.abspath(sys.argv[1])], cwd=folder)
    try:
        app = find_app()
        expect("the program is on the accessibility bus", app is not None)
        if app is None:
            return 1
        page = wait_for(app, lambda r, n, d: "KBR_DORIN belongs to" in d)
        print("--- the window at the start")
        dump(app)
        expect("the page's text is the view's description", page is not None)
        toolbar = wait_for(app, lambda r, n, d: n == "Toolbar" and "Mode A." in d and "History of your answers" in d)
        expect("the toolbar names its buttons", toolbar is not None)

        # Mode A, and a key during the wait: the verdict is told.
        press("a")
        started = wait_for(app, lambda r, n, d: "STARTED..." in n or "STARTED..." in d)
        expect("the start of mode A is told", started is not None)
        press("space")
        verdict = wait_for(app, lambda r, n, d: "FALSTART." in n)
        expect("the false start is the view's name, which a reader speaks", verdict is not None)
        print("--- after a false start")
        dump(app)

        # The History window, from the menu: its chart's figures as text.
        press("m", "Alt_L")
        time.sleep(0.5)
        press("h")
        chart = wait_for(app, lambda r, n, d: d.startswith("Mode A."))
        print("--- the History window")
        dump(app)
        expect("the History chart describes its figures", chart is not None)
        press("Escape")
    finally:
        program.terminate()
        try:
            program.wait(10)
        except subprocess.TimeoutExpired:
            program.kill()
    print("failed: " + "; ".join(failures) if failures else "all told")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
