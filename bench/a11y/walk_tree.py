# An accessibility client as hard on an application as an outside checker is. It looks for new
# applications every few milliseconds, so it reaches a program while its splash window is up and
# its main window is being built, and from then on walks every tree again and again. On every
# node it asks everything the bus offers without changing anything: name, description, role,
# states, attributes, index in parent, relations, children, the text interface (whole text, caret,
# attributes and extents at offsets inside and outside the text, bounded ranges, selections),
# value, actions (names, descriptions, key bindings; none is invoked), component extents, image,
# table, selection, document and hypertext. It listens to every object, window and focus event and
# reads each event's source, its parent and its children the same way.
#
#   python3 walk_tree.py [seconds] [pattern]
#
# With a pattern, only applications whose name contains it are walked (the others are listed).
# Offsets and indices are those valid when the client read the counts (the application may have
# changed since, as it does while it starts); WALK_HOSTILE=1 adds offsets, rows, columns and
# children outside them. Caching is off, so every question is a call to the application. WALK_VERBOSE=1 prints how many
# nodes were walked and events read so far, after every pass; WALK_TRACE=<file> writes every call
# there before it is made, and marks with "!!" a call the application did not answer (it ended
# while handling it); WALK_SKIP="get_row_extent_at ..." leaves those calls out.
import os
import random
import sys
import time

import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

warnings.simplefilter("ignore", DeprecationWarning)

def quietly(call, *args):
    if trace:
        trace.write(f"{getattr(call, '__name__', call)} {args}\n")
        trace.flush()
    name = getattr(call, "__name__", str(call))
    if name in skipped:
        return None
    try:
        return call(*args)
    except Exception as error:
        if trace and "without replying" in str(error):
            trace.write(f"!! no answer to {name} {args}: {error}\n")
            trace.flush()
        return None


def touch_text(node):
    count = quietly(Atspi.Text.get_character_count, node) or 0
    # Offsets valid when the count was read (the text may change before they arrive); with
    # WALK_HOSTILE also offsets outside the text and inverted ranges.
    offsets = sorted({0, 1, count // 2, max(count - 1, 0), count} & set(range(count + 1)))
    ranges = [(0, count), (0, -1), (0, min(count, 5))]
    points = [(0, 0), (10, 10)]
    if hostile:
        offsets += [-7, -1, count + 1, count + 100, 2**31 - 1]
        ranges += [(-5, count + 10), (count + 5, count + 10), (10, 3)]
        points += [(-50, -50), (100000, 100000)]
    for start, end in ranges:
        quietly(Atspi.Text.get_text, node, start, end)
        quietly(Atspi.Text.get_range_extents, node, start, end, Atspi.CoordType.SCREEN)
    quietly(Atspi.Text.get_caret_offset, node)
    quietly(Atspi.Text.get_default_attributes, node)
    selections = quietly(Atspi.Text.get_n_selections, node) or 0
    for index in range(selections + (2 if hostile else 0)):
        quietly(Atspi.Text.get_selection, node, index if index <= selections else -1)
    for offset in offsets:
        quietly(Atspi.Text.get_text_attributes, node, offset)
        quietly(Atspi.Text.get_attribute_run, node, offset, True)
        quietly(Atspi.Text.get_character_at_offset, node, offset)
        quietly(Atspi.Text.get_character_extents, node, offset, Atspi.CoordType.SCREEN)
        quietly(Atspi.Text.get_character_extents, node, offset, Atspi.CoordType.WINDOW)
        for granularity in (Atspi.TextGranularity.CHAR, Atspi.TextGranularity.WORD,
                            Atspi.TextGranularity.SENTENCE, Atspi.TextGranularity.LINE,
                            Atspi.TextGranularity.PARAGRAPH):
            quietly(Atspi.Text.get_string_at_offset, node, offset, granularity)
        for boundary in (Atspi.TextBoundaryType.CHAR, Atspi.TextBoundaryType.WORD_START,
                         Atspi.TextBoundaryType.LINE_START):
            quietly(Atspi.Text.get_text_at_offset, node, offset, boundary)
            quietly(Atspi.Text.get_text_before_offset, node, offset, boundary)
            quietly(Atspi.Text.get_text_after_offset, node, offset, boundary)
    extents = quietly(Atspi.Component.get_extents, node, Atspi.CoordType.SCREEN)
    if extents is not None:
        quietly(Atspi.Text.get_bounded_ranges, node, extents.x, extents.y, extents.width,
                extents.height, Atspi.CoordType.SCREEN, Atspi.TextClipType.BOTH,
                Atspi.TextClipType.BOTH)
        points.append((extents.x + 2, extents.y + 2))
    for x, y in points:
        quietly(Atspi.Text.get_offset_at_point, node, x, y, Atspi.CoordType.SCREEN)


def touch_table(node):
    rows = quietly(Atspi.Table.get_n_rows, node) or 0
    columns = quietly(Atspi.Table.get_n_columns, node) or 0
    quietly(Atspi.Table.get_caption, node)
    quietly(Atspi.Table.get_summary, node)
    quietly(Atspi.Table.get_n_selected_rows, node)
    quietly(Atspi.Table.get_selected_rows, node)
    quietly(Atspi.Table.get_selected_columns, node)
    # Cells that existed when the counts were read; with WALK_HOSTILE also outside the table.
    row_list = sorted({0, rows // 2, rows - 1} & set(range(rows)))
    column_list = sorted({0, columns - 1} & set(range(columns)))
    index_list = sorted({0, rows * columns - 1} & set(range(rows * columns)))
    if hostile:
        row_list += [rows, -1]
        column_list += [columns, -1]
        index_list += [rows * columns, -1]
    for row in row_list:
        quietly(Atspi.Table.get_row_description, node, row)
        quietly(Atspi.Table.get_row_header, node, row)
        quietly(Atspi.Table.is_row_selected, node, row)
        for column in column_list:
            quietly(Atspi.Table.get_accessible_at, node, row, column)
            quietly(Atspi.Table.get_index_at, node, row, column)
            quietly(Atspi.Table.get_row_extent_at, node, row, column)
            quietly(Atspi.Table.get_column_extent_at, node, row, column)
            quietly(Atspi.Table.is_selected, node, row, column)
    for column in column_list:
        quietly(Atspi.Table.get_column_description, node, column)
        quietly(Atspi.Table.get_column_header, node, column)
        quietly(Atspi.Table.is_column_selected, node, column)
    for index in index_list:
        quietly(Atspi.Table.get_row_at_index, node, index)
        quietly(Atspi.Table.get_column_at_index, node, index)
        quietly(Atspi.Table.get_row_column_extents_at_index, node, index)


def touch(node):
    """Asks the node everything; answers its child count (0 when it is gone)."""
    quietly(node.clear_cache)
    if trace:
        trace.write(f"node {quietly(node.get_role_name)} {quietly(node.get_name)!r}\n")
    quietly(node.get_name)
    quietly(node.get_description)
    quietly(node.get_role)
    quietly(node.get_role_name)
    quietly(node.get_localized_role_name)
    states = quietly(node.get_state_set)
    if states is not None:
        quietly(states.get_states)
    quietly(node.get_attributes)
    quietly(node.get_index_in_parent)
    quietly(node.get_parent)
    quietly(node.get_process_id)
    quietly(node.get_toolkit_name)
    quietly(node.get_accessible_id)
    relations = quietly(node.get_relation_set) or []
    for relation in relations:
        quietly(relation.get_relation_type)
        for index in range(quietly(relation.get_n_targets) or 0):
            target = quietly(relation.get_target, index)
            if target is not None:
                quietly(target.get_name)
    interfaces = quietly(node.get_interfaces) or []
    if "Text" in interfaces:
        touch_text(node)
    if "Value" in interfaces:
        for call in (Atspi.Value.get_current_value, Atspi.Value.get_minimum_value,
                     Atspi.Value.get_maximum_value, Atspi.Value.get_minimum_increment):
            quietly(call, node)
    if "Action" in interfaces:
        for index in range((quietly(Atspi.Action.get_n_actions, node) or 0) + int(hostile)):
            quietly(Atspi.Action.get_action_name, node, index)
            quietly(Atspi.Action.get_action_description, node, index)
            quietly(Atspi.Action.get_localized_name, node, index)
            quietly(Atspi.Action.get_key_binding, node, index)
    if "Component" in interfaces:
        for kind in (Atspi.CoordType.SCREEN, Atspi.CoordType.WINDOW):
            extents = quietly(Atspi.Component.get_extents, node, kind)
            quietly(Atspi.Component.get_position, node, kind)
            if extents is not None:
                quietly(Atspi.Component.contains, node, extents.x + 1, extents.y + 1, kind)
                quietly(Atspi.Component.get_accessible_at_point, node, extents.x + 1,
                        extents.y + 1, kind)
        quietly(Atspi.Component.get_size, node)
        quietly(Atspi.Component.get_layer, node)
        quietly(Atspi.Component.get_mdi_z_order, node)
        quietly(Atspi.Component.get_alpha, node)
    if "Image" in interfaces:
        quietly(Atspi.Image.get_image_description, node)
        quietly(Atspi.Image.get_image_extents, node, Atspi.CoordType.SCREEN)
        quietly(Atspi.Image.get_image_locale, node)
    if "Table" in interfaces:
        touch_table(node)
    if "TableCell" in interfaces:
        quietly(Atspi.TableCell.get_position, node)
        quietly(Atspi.TableCell.get_table, node)
        quietly(Atspi.TableCell.get_row_column_span, node)
    if "Selection" in interfaces:
        selected = quietly(Atspi.Selection.get_n_selected_children, node) or 0
        for index in range(selected + 1) if not hostile else (0, selected, -1):
            quietly(Atspi.Selection.get_selected_child, node, index)
            quietly(Atspi.Selection.is_child_selected, node, index)
    if "Document" in interfaces:
        quietly(Atspi.Document.get_document_attributes, node)
        quietly(Atspi.Document.get_document_locale, node)
    if "Hypertext" in interfaces:
        quietly(Atspi.Hypertext.get_n_links, node)
    count = quietly(node.get_child_count) or 0
    if hostile:
        quietly(node.get_child_at_index, count)
        quietly(node.get_child_at_index, -1)
    return count


def walk(node, depth=0):
    global touched
    if node is None or depth > 60:
        return
    touched += 1
    count = touch(node)
    # Each client goes through the children in its own order, so that several reach different
    # parts of the tree first.
    order = list(range(count))
    random.shuffle(order)
    for index in order:
        walk(quietly(node.get_child_at_index, index), depth + 1)


def wanted(app):
    if pattern is None:
        return True
    name = quietly(app.get_name) or ""
    return pattern.lower() in name.lower()


def poll():
    # The desktop's list of applications is kept up to date by the registry's events; clearing
    # its cache would empty it.
    desktop = Atspi.get_desktop(0)
    for index in range(quietly(desktop.get_child_count) or 0):
        app = quietly(desktop.get_child_at_index, index)
        if app is None:
            continue
        quietly(app.set_cache_mask, Atspi.Cache.NONE)
        if wanted(app):
            walk(app)
    if verbose:
        print(f"{time.time():.3f} nodes {touched} events {events}", flush=True)
    if time.time() > deadline:
        Atspi.event_quit()
        return False
    return True


def on_event(event):
    global events
    events += 1
    source = event.source
    if source is None:
        return
    count = touch(source)
    for index in range(min(count, 50)):
        child = quietly(source.get_child_at_index, index)
        if child is not None:
            touch(child)
    parent = quietly(source.get_parent)
    if parent is not None:
        touch(parent)


deadline = time.time() + float(sys.argv[1] if len(sys.argv) > 1 else 3600)
pattern = sys.argv[2] if len(sys.argv) > 2 else None
verbose = bool(os.environ.get("WALK_VERBOSE"))
trace = open(os.environ["WALK_TRACE"], "w") if os.environ.get("WALK_TRACE") else None
hostile = bool(os.environ.get("WALK_HOSTILE"))
skipped = set(os.environ.get("WALK_SKIP", "").split())
touched = events = 0
Atspi.init()
listener = Atspi.EventListener.new(on_event)
for kind in ("object:", "window:", "focus:", "document:"):
    listener.register(kind)
GLib.timeout_add(3, poll)
Atspi.event_main()
