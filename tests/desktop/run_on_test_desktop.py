#!/usr/bin/env python3
"""Runs one program on a test desktop of its own: Xvfb with openbox.

    run_on_test_desktop.py PROGRAM [ARG...]

The desktop is the one desktop_test.py starts (same screen, same window
manager, no accessibility bridge); it is ended when the program ends, also
when the program fails or the launcher is killed. The exit status is the
program's.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile

from desktop_test import TOOLS, Desktop


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    missing = sorted({package for tool, package in TOOLS.items() if not shutil.which(tool)})
    if missing:
        print(f"FAIL: the desktop needs the Debian packages {' '.join(missing)} "
              "(scripts/install-deps.sh installs them)", file=sys.stderr)
        return 1
    work = tempfile.mkdtemp(prefix="ixo-desktop-")
    desktop = Desktop(work)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    try:
        desktop.start()
        return subprocess.run(argv[1:], env=desktop.env).returncode
    finally:
        desktop.stop()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
