#!/usr/bin/python3
"""As a screen reader meets the dialer, over AT-SPI: finds the window, a frame, by its title;
counts its push buttons; presses those named, in order; names each object presented outside
the window, showing or not. Exits 1 on a fault.   screen_reader.py TITLE NAME..."""
import sys
import time
import warnings

import gi

gi.require_version('Atspi', '2.0')
from gi.repository import Atspi  # noqa: E402

warnings.simplefilter('ignore', DeprecationWarning)
title, presses = sys.argv[1], sys.argv[2:]


def children(node):
    return (node.get_child_at_index(i) for i in range(node.get_child_count() if node else 0))


def walk(node):
    yield node
    for child in children(node):
        yield from walk(child)


frame = None
deadline = time.monotonic() + 30  # a bound on the program's start, not a measurement
while frame is None and time.monotonic() < deadline:
    frame = next((w for app in children(Atspi.get_desktop(0)) for w in children(app)
                  if w.get_name() == title), None)
    time.sleep(0.05)
if frame is None:
    sys.exit('no window titled %r' % title)
faults = [] if frame.get_role() == Atspi.Role.FRAME else ['the window is a %s' % frame.get_role_name()]

buttons = {o.get_name(): o for o in walk(frame) if o.get_role() == Atspi.Role.PUSH_BUTTON}
print('%d buttons' % len(buttons))
for name in presses:
    button = buttons.get(name)
    if button is None:
        faults.append('no button named %r' % name)
        continue
    actions = [button.get_action_name(i) for i in range(button.get_n_actions())]
    button.do_action(actions.index('Press'))  # queued behind a tone still playing, in order

window = frame.get_extents(Atspi.CoordType.SCREEN)
for o in walk(frame):
    e = o.get_extents(Atspi.CoordType.SCREEN)
    if not (e.x >= window.x and e.y >= window.y and e.x + e.width <= window.x + window.width
            and e.y + e.height <= window.y + window.height):
        faults.append('%s %r at (%d, %d) is presented' % (o.get_role_name(), o.get_name(), e.x, e.y))
for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)
