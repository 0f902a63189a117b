#!/usr/bin/env python3
"""Runs one program on a test desktop of its own: Xvfb with openbox.

    run_on_test_desktop.py PROGRAM [ARG...]

The desktop is the one desktop_test.py starts (same screen, same window
manager, no accessibility bridge); it is ended when the program ends, also
when the program fails or the launcher is killed. The exit status is the
program's.
"""

import subprocess
import sys

from desktop_test import scratch_desktop, tools_installed


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    if not tools_installed():
        return 1
    with scratch_desktop() as (desktop, _):
        desktop.start()
        return subprocess.run(argv[1:], env=desktop.env).returncode

if __name__ == "__main__":
    sys.exit(main(sys.argv))
