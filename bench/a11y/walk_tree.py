# An accessibility client that keeps walking every application's tree, reading names, roles,
# states, texts and actions, as a screen reader does while a program starts.
import sys
import time

import pyatspi


def walk(node, depth=0):
    if depth > 60:
        return
    try:
        node.name, node.getRoleName(), node.description
        node.getState().getStates()
        count = node.childCount
    except Exception:
        return
    for index in range(count):
        try:
            child = node.getChildAtIndex(index)
        except Exception:
            continue
        if child is not None:
            walk(child, depth + 1)


def main():
    deadline = time.time() + float(sys.argv[1] if len(sys.argv) > 1 else 3600)
    while time.time() < deadline:
        try:
            desktop = pyatspi.Registry.getDesktop(0)
            for app in desktop:
                if app is not None:
                    walk(app)
        except Exception:
            pass
        time.sleep(0.01)


main()
