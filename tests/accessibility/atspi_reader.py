# Reads one process's accessibility tree off the AT-SPI bus, as a screen
# reader does, listening to the same events, and tells what Morvane says
# unasked (its description changes).
# Each line on stdin is answered by one JSON line on stdout:
#   tree    every object, in the order a client walks them, with its role,
#           name, text where it has one, states, place and size on the
#           screen and its path of child indexes
#   spoken  the descriptions announced since the last "spoken", in order
#   /usr/bin/python3 atspi_reader.py PID
import json
import sys

import pyatspi
from gi.repository import GLib

PID = int(sys.argv[1])
spoken = []


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == PID:
            return app


def describe(node, path):
    entry = {
        "path": path,
        "role": node.getRoleName(),
        "name": node.name or "",
        "states": sorted(s.value_nick for s in node.getState().getStates()),
    }
    try:
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        entry["extents"] = [box.x, box.y, box.width, box.height]
    except NotImplementedError:
        pass
    try:
        text = node.queryText()
        entry["text"] = text.getText(0, text.characterCount)
    except NotImplementedError:
        pass
    return entry


def walk(node, path, out):
    if path:
        out.append(describe(node, path))
    for index in range(node.childCount if node is not None else 0):
        child = node.getChildAtIndex(index)
        if child is not None:
            walk(child, f"{path}/{index}" if path else str(index), out)
    return out


def on_event(event):
    if event.type != "object:property-change:accessible-description":
        return
    try:
        if event.host_application.get_process_id() == PID:
            spoken.append(event.any_data if isinstance(event.any_data, str) else event.source.description)
    except Exception:
        pass


def answer_later(request):
    # Answers once every event Morvane sent before the request has been
    # handled, as a screen reader has by the time its user asks for something.
    # A call to the application comes back after every event it sent
    # before, and those events are then handled in the main loop ahead of a
    # timeout that falls due after them.
    app = application()
    if app is not None:
        app.clear_cache()
        app.get_name()

    def reply():
        print(json.dumps(walk(app, "", []) if request == "tree" else spoken), flush=True)
        if request != "tree":
            spoken.clear()
        return False

    GLib.timeout_add(20, reply)


def on_request(channel, condition):
    line = sys.stdin.readline()
    if not line:
        pyatspi.Registry.stop()
        return False
    answer_later(line.strip())
    return True


# Listening as a screen reader does also keeps libatspi's cache of names,
# states and children as fresh as a screen reader's.
pyatspi.Registry.registerEventListener(on_event, "object:property-change", "object:state-changed",
                                       "object:children-changed", "object:text-changed")
GLib.io_add_watch(sys.stdin, GLib.IO_IN | GLib.IO_HUP, on_request)
pyatspi.Registry.start()
