#!/usr/bin/python3
"""Reads the program as a screen reader does, through the AT-SPI tree, and
works it the same way: by the actions the tree offers, never by keys.

    screen_reader_test.py DRIVER

DRIVER is velmorandi_driver; it is started on a sample folder with slow disk
steps, under the session bus this script runs in, with accessibility on.
Prints the lines of the tree it checks and ends with 'N passed, N failed'.
"""

import os
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

import pyatspi  # noqa: E402

STEP_MILLISECONDS = 500
FILES = ["alpha.txt", "beta.txt", "gamma.txt", "delta.txt"]

failures = []
passes = 0


def check(condition, what):
    global passes
    if condition:
        passes += 1
        print("PASS  " + what)
    else:
        failures.append(what)
        print("FAIL  " + what)


def enable_accessibility():
    """What a screen reader does when it starts: tells the session it listens."""
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                  GLib.Variant("(ssv)", ("org.a11y.Status", "IsEnabled",
                                         GLib.Variant("b", True))),
                  None, Gio.DBusCallFlags.NONE, -1, None)


def pump(seconds, until=lambda: False):
    """Lets AT-SPI events arrive for up to seconds, or until until() holds."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        if until():
            return True
        time.sleep(0.02)
    return until()


class Heard:
    """The events a screen reader acts on, as it would hear them."""

    def __init__(self):
        self.events = []

    def __call__(self, event):
        source = event.source
        try:
            entry = {"type": event.type, "detail": event.detail1,
                     "role": source.getRoleName(), "name": source.name,
                     "description": source.description, "source": source}
            if event.type.startswith("object:property-change:accessible-value"):
                value = source.queryValue()
                entry["value"] = (value.currentValue, value.minimumValue, value.maximumValue)
        except Exception as error:  # the object may be gone already
            entry = {"type": event.type, "error": str(error)}
        self.events.append(entry)

    def focused(self, role):
        return [e for e in self.events if e.get("type") == "object:state-changed:focused"
                and e.get("detail") == 1 and e.get("role") == role]

    def values(self, role):
        return [e["value"] for e in self.events
                if e.get("type", "").startswith("object:property-change:accessible-value")
                and e.get("role") == role and "value" in e]


def nodes(root):
    """Every object of the tree below root, depth first, with its depth."""
    stack = [(root, 0)]
    while stack:
        node, depth = stack.pop()
        yield node, depth
        children = [node.getChildAtIndex(i) for i in range(node.childCount)]
        stack.extend((child, depth + 1) for child in reversed(children) if child is not None)


def line(node, depth=0):
    text = ""
    try:
        text = " text=%r" % node.queryText().getText(0, -1)
    except NotImplementedError:
        pass
    try:
        value = node.queryValue()
        text += " value=%g of %g..%g" % (value.currentValue, value.minimumValue,
                                         value.maximumValue)
    except NotImplementedError:
        pass
    description = " description=%r" % node.description if node.description else ""
    return "%s[%s] %r%s%s" % ("  " * depth, node.getRoleName(), node.name, description, text)


def find(root, role, name=None, showing=True):
    for node, _ in nodes(root):
        if node.getRoleName() == role and (name is None or node.name == name) and \
                (not showing or node.getState().contains(pyatspi.STATE_SHOWING)):
            return node
    return None


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press") if "Press" in names else 0)


def find_application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for _ in range(100):
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == pid:
                window = find(app, "filler", "Velmorandi")
                if window is not None and find(window, "table") is not None:
                    return app
        # The registry tells of new applications through events.
        pump(0.1)
    return None


def check_main_window(app, folder):
    window = find(app, "filler", "Velmorandi")
    print("The main window as the tree gives it:")
    for node, depth in nodes(window):
        if node.getRoleName() not in ("table cell", "table row header", "list item"):
            print("    " + line(node, depth))

    # Every control a user can reach has a name to be read out.
    unnamed = [line(node) for node, _ in nodes(window)
               if node.getState().contains(pyatspi.STATE_FOCUSABLE)
               and node.getState().contains(pyatspi.STATE_SHOWING) and not node.name
               and node.getRoleName() not in ("table cell", "list item", "table row header")]
    check(not unnamed, "every control that takes the focus is named %s" % (unnamed or ""))

    expected = [("push button", "Help"), ("push button", "Close"), ("push button", "Blank"),
                ("push button", "Reset"), ("push button", "Rename"),
                ("list", "Folders"), ("combo box", "Drive"), ("table", "Rename grid"),
                ("text", "Find"), ("text", "Replace"), ("text", "String")]
    expected += [("push button", "Apply " + frame) for frame in
                 ("Find & Replace", "Change Case", "Add String", "Serial", "Trim")]
    # An option button is heard with its frame: three frames show a "Left".
    expected += [("radio button", "Change Case: " + caption) for caption in
                 ("Upper", "Lower", "Title", "Sentence")]
    expected += [("radio button", frame + ": " + side) for frame in
                 ("Add String", "Serial", "Trim") for side in ("Left", "Right")]
    expected += [("table column header", caption) for caption in
                 ("S#", "Original filename", "Edited filename", "Status")]
    for role, name in expected:
        check(find(window, role, name) is not None, "%s %r" % (role, name))

    # A text box is read with the label beside it, which says so too.
    for name in ("Find", "Replace", "String"):
        box = find(window, "text", name)
        labels = [relation.getTarget(0).name for relation in (box.getRelationSet() if box else [])
                  if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY]
        check(labels[:1] == [name], "text box %r is labelled by its label (%s)" % (name, labels))

    # The drive list: its value is the drive that holds the folder that is open.
    drive = find(window, "combo box", "Drive")
    value = drive.queryText().getText(0, -1) if drive else ""
    entries = [node.name for node, depth in nodes(drive) if node.getRoleName() == "list item"] \
        if drive else []
    check(value in entries and folder.startswith(value.split(" [")[0]),
          "drive list's value %r is the entry that holds %s" % (value, folder))
    return window


def check_message(window, heard):
    heard.events.clear()
    press(find(window, "push button", "Blank"))
    pump(1)
    press(find(window, "push button", "Rename"))
    pump(5, lambda: heard.focused("alert"))
    alerts = heard.focused("alert")
    check(len(alerts) == 1, "the message takes the focus as an alert")
    if not alerts:
        return
    alert = alerts[0]
    box = alert["source"]
    print("The message window as the reader hears it:")
    for node, depth in nodes(box):
        print("    " + line(node, depth))
    shown = [node.name for node, _ in nodes(box) if node.getRoleName() == "label"]
    spoken = alert["description"].replace("\u200b", "")
    check(alert["name"] == "Message" and len(spoken) > 40
          and spoken in [text.replace("\u200b", "") for text in shown],
          "the alert reads %r with the whole message it shows" % alert["name"])
    heard.events.clear()
    press(find(box, "push button", "Close"))
    check(pump(5, lambda: not box.getState().contains(pyatspi.STATE_SHOWING)),
          "its Close button closes it")


def check_about(window, heard):
    heard.events.clear()
    press(find(window, "push button", "Help"))
    pump(5, lambda: heard.focused("text"))
    focused = heard.focused("text")
    check(len(focused) == 1 and focused[0]["name"] == "Web address",
          "the About window opens with the focus on its web-address box, named 'Web address'")
    about = find(window, "dialog")
    check(about is not None and about.name, "the About window is named %r"
          % (about.name if about else None))
    if about is None:
        return
    print("The About window as the tree gives it:")
    for node, depth in nodes(about):
        print("    " + line(node, depth))
    press(find(about, "push button", "Close"))
    check(pump(5, lambda: not about.getState().contains(pyatspi.STATE_SHOWING)),
          "its Close button closes it")


def check_progress(window, heard, folder):
    # Put x_ in front of every listed name, then rename: each disk step takes a while.
    # A push button's press clicks it a moment later, as a key press would.
    press(find(window, "push button", "Reset"))
    pump(1)
    frame = find(window, "panel", "Add String")
    find(frame, "text", "String").queryEditableText().setTextContents("x_")
    press(find(frame, "radio button", "Add String: Left"))
    pump(1)
    press(find(window, "push button", "Apply Add String"))
    pump(1)
    heard.events.clear()
    press(find(window, "push button", "Rename"))
    seconds = len(FILES) * STEP_MILLISECONDS / 1000 + 10
    pump(seconds, lambda: find(window, "progress bar") is not None)
    bar = find(window, "progress bar")
    check(bar is not None and bar.name, "the progress bar shows, named %r"
          % (bar.name if bar else None))
    if bar is not None:
        print("The progress window as the tree gives it:")
        for node, depth in nodes(bar.parent):
            print("    " + line(node, depth))
    pump(seconds, lambda: all(name.startswith("x_") for name in os.listdir(folder)))
    pump(2)
    values = heard.values("progress bar")
    for value in values:
        print("    value changed: %g of %g..%g" % value)
    current = [value[0] for value in values]
    check(len(set(current)) >= 2 and current == sorted(current) and
          all(low <= now <= high for now, low, high in values),
          "the bar sends its rising values (%s)" % current)
    check(sorted(os.listdir(folder)) == sorted("x_" + name for name in FILES),
          "the rename went through")


def main():
    driver = sys.argv[1]
    enable_accessibility()
    heard = Heard()
    pyatspi.Registry.registerEventListener(heard, "object:state-changed:focused",
                                           "object:property-change:accessible-value")
    with tempfile.TemporaryDirectory() as folder:
        for name in FILES:
            open(os.path.join(folder, name), "w").close()
        program = subprocess.Popen([driver, folder, str(STEP_MILLISECONDS)])
        try:
            app = find_application(program.pid)
            check(app is not None, "the program shows in the AT-SPI tree")
            if app is not None:
                window = check_main_window(app, folder)
                check_message(window, heard)
                check_about(window, heard)
                check_progress(window, heard, folder)
        finally:
            program.terminate()
            program.wait(10)
    print("%d passed, %d failed" % (passes, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
