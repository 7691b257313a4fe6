# Reads one process's accessibility tree off the AT-SPI bus, as a screen
# reader does. Each line "tree" on stdin is answered by one JSON line on
# stdout: every object shown, in the order a client walks them, with its
# role, name, description, text and value where it has them, its states and
# its place and size on the screen and its path of child indexes ("0/2/1").
#   /usr/bin/python3 atspi_reader.py PID
import json
import sys

import pyatspi


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def describe(node, path):
    entry = {
        "path": path,
        "role": node.getRoleName(),
        "name": node.name or "",
        "description": node.description or "",
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
    try:
        entry["value"] = node.queryValue().currentValue
    except NotImplementedError:
        pass
    return entry


def walk(node, path, out):
    out.append(describe(node, path))
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            walk(child, f"{path}/{index}" if path else str(index), out)


def main():
    pid = int(sys.argv[1])
    for line in sys.stdin:
        if line.strip() != "tree":
            continue
        app = application(pid)
        out = []
        if app is not None:
            for index in range(app.childCount):
                walk(app.getChildAtIndex(index), str(index), out)
        print(json.dumps(out), flush=True)


main()
