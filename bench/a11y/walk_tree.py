# An accessibility client as a screen reader is one: it listens to focus, text, caret, state and
# window events, reads what each event's source says, and walks every application's tree again
# and again, while programs start and end.
import sys
import time

import pyatspi
from gi.repository import GLib


def touch(node):
    node.name, node.getRoleName(), node.description
    node.getState().getStates()
    try:
        text = node.queryText()
        text.getText(0, min(text.characterCount, 200))
        text.caretOffset
    except NotImplementedError:
        pass


def walk(node, depth=0):
    if node is None or depth > 60:
        return
    try:
        touch(node)
        count = node.childCount
    except Exception:
        return
    for index in range(count):
        try:
            walk(node.getChildAtIndex(index), depth + 1)
        except Exception:
            continue


def on_event(event):
    try:
        touch(event.source)
        parent = event.source.parent
        if parent is not None:
            touch(parent)
    except Exception:
        pass


def walk_all():
    try:
        for app in pyatspi.Registry.getDesktop(0):
            walk(app)
    except Exception:
        pass
    if time.time() > deadline:
        pyatspi.Registry.stop()
        return False
    return True


deadline = time.time() + float(sys.argv[1] if len(sys.argv) > 1 else 3600)
for kind in ("focus:", "object:text-changed", "object:text-caret-moved",
             "object:state-changed", "object:children-changed", "object:property-change",
             "object:text-selection-changed", "window:"):
    pyatspi.Registry.registerEventListener(on_event, kind)
GLib.timeout_add(20, walk_all)
pyatspi.Registry.start()
