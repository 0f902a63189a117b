#!/usr/bin/env python3
"""ixoengine on a real X desktop: Xvfb with openbox, driven by xdotool.

    desktop_test.py IXOENGINE IXO OBJECTS_DIR EXAMPLES_DIR [CASE...]

Builds the test objects (OBJECTS_DIR/NAME/) and the ball (EXAMPLES_DIR/ball/)
with `ixo build`, starts its own X server on a free display and a window
manager, and runs each case against a fresh engine. The objects show what
happened to them in their window's size and place, which the cases read
through X; pixels are read from an `xwd` picture of the screen.

Without arguments every case runs; naming cases runs only those. The X server,
the window manager and every engine are ended when the test ends, also when it
fails or is killed. Missing X tools are a failure, not a skip.
"""

import contextlib
import ctypes
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import traceback

SCREEN = (1024, 768)
WINDOW_TIMEOUT = 10.0  # seconds for a window to appear: a hang guard
CHANGE_TIMEOUT = 3.0   # seconds for input to show in a window
EXIT_TIMEOUT = 5.0     # seconds for an engine to end when asked

TOOLS = {  # program: the Debian package that holds it
    "Xvfb": "xvfb",
    "openbox": "openbox",
    "xdotool": "xdotool",
    "xprop": "x11-utils",
    "xwininfo": "x11-utils",
    "xwd": "x11-apps",
}


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(probe, timeout, what):
    """Polls probe() until it returns something true; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(0.05)


def die_with_parent():
    # PR_SET_PDEATHSIG: the servers go when the test is killed outright.
    libc = ctypes.CDLL(None, use_errno=True)
    libc.prctl(1, signal.SIGTERM)


def end_process(process, grace=EXIT_TIMEOUT):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(grace)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


# --- the X side ---------------------------------------------------------------


class Desktop:
    """Xvfb on a display it picks itself, with a white root and openbox."""

    def __init__(self, work):
        self.work = work
        self.processes = []
        self.env = None

    def start(self):
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
             "-nolisten", "tcp", "-wr"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=open(os.path.join(self.work, "xvfb.log"), "w"),
            preexec_fn=die_with_parent)
        self.processes.append(xvfb)
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            number = pipe.readline().strip()
        check(number, "Xvfb did not start: see xvfb.log")
        self.env = dict(os.environ, DISPLAY=f":{number.decode()}", XDG_CONFIG_HOME=os.path.join(self.work, "config"))
        self.processes.append(subprocess.Popen(
            ["openbox", "--sm-disable"], env=self.env, stdout=subprocess.DEVNULL,
            stderr=open(os.path.join(self.work, "openbox.log"), "w"), preexec_fn=die_with_parent))
        wait_until(lambda: "window id #" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                   WINDOW_TIMEOUT, "openbox to manage the screen")

    def stop(self):
        for process in reversed(self.processes):
            end_process(process, 2)

    def run(self, *args):
        result = subprocess.run(args, env=self.env, capture_output=True, text=True, timeout=20)
        return result.stdout

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True, timeout=20)

    def geometry(self, window):
        """(x, y, width, height) of a window, or None once it is gone."""
        out = self.run("xdotool", "getwindowgeometry", "--shell", str(window))
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        if not {"X", "Y", "WIDTH", "HEIGHT"} <= values.keys():
            return None
        return tuple(int(values[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))

    def wait_geometry(self, window, expected, what, timeout=CHANGE_TIMEOUT):
        """Waits until the window's geometry satisfies expected(x, y, w, h)."""
        seen = []

        def probe():
            seen.append(self.geometry(window))
            return seen[-1] and expected(*seen[-1])

        try:
            wait_until(probe, timeout, what)
        except Failure as failure:
            raise Failure(f"{failure}; the window is at {seen[-1]}") from None
        return seen[-1]

    def screen_pixels(self):
        """The whole screen as (width, height, pixel(x, y) -> (r, g, b))."""
        picture = subprocess.run(["xwd", "-root", "-silent"], env=self.env, capture_output=True, check=True,
                                 timeout=20).stdout
        return parse_xwd(picture)


def parse_xwd(data):
    """Reads an X window dump of a true-colour screen (the format xwd writes)."""
    fields = struct.unpack(">25I", data[:100])
    (header_size, version, _format, _depth, width, height, _xoffset, byte_order, _unit, _bit_order, _pad,
     bits_per_pixel, bytes_per_line, _visual, red_mask, green_mask, blue_mask, _bits_rgb, _entries,
     colours) = fields[:20]
    check(version == 7, f"unexpected xwd version {version}")
    check(bits_per_pixel in (24, 32), f"xwd picture with {bits_per_pixel} bits per pixel")
    start = header_size + 12 * colours
    step = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"

    def channel(value, mask):
        shift = (mask & -mask).bit_length() - 1
        return ((value & mask) >> shift) * 255 // (mask >> shift)

    def pixel(x, y):
        at = start + y * bytes_per_line + x * step
        value = int.from_bytes(data[at:at + step], order)
        return channel(value, red_mask), channel(value, green_mask), channel(value, blue_mask)

    check(len(data) >= start + bytes_per_line * height, "xwd picture is cut short")
    return width, height, pixel


# --- the engine side -----------------------------------------------------------


class Engine:
    """One ixoengine run on a package, in its own temporary-files folder."""

    def __init__(self, desktop, engine, package, work, env=None):
        self.desktop = desktop
        self.tmpdir = tempfile.mkdtemp(dir=work, prefix="run-")
        self.err_path = os.path.join(self.tmpdir, "stderr")
        run_env = dict(env if env is not None else desktop.env, TMPDIR=self.tmpdir,
                       IXO_HOME=os.path.join(self.tmpdir, "home"))
        self.process = subprocess.Popen([engine, package], env=run_env, stdout=subprocess.DEVNULL,
                                        stderr=open(self.err_path, "w"), preexec_fn=die_with_parent)
        self.window = None

    def find_window(self):
        """The engine's mapped window titled "ixo", once it is there."""
        def probe():
            check(self.process.poll() is None,
                  f"the engine ended ({self.process.returncode}) before showing a window: {self.stderr()}")
            ids = self.desktop.run("xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid),
                                   "--name", "^ixo$").split()
            return ids[0] if ids else None
        self.window = wait_until(probe, WINDOW_TIMEOUT, "the engine's window")
        return self.window

    def wait_exit(self, timeout=EXIT_TIMEOUT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the engine did not end within {timeout:.0f} s") from None

    def extraction_folders(self):
        folder = os.path.join(self.tmpdir, "zodizarez")
        return os.listdir(folder) if os.path.isdir(folder) else []

    def stderr(self):
        with open(self.err_path) as err:
            return err.read().strip()

    def close(self):
        end_process(self.process)


# --- the cases -------------------------------------------------------------------


class Cases:
    def __init__(self, desktop, engine, packages, work):
        self.desktop = desktop
        self.engine_path = engine
        self.packages = packages
        self.work = work

    @contextlib.contextmanager
    def running(self, name):
        engine = Engine(self.desktop, self.engine_path, self.packages[name], self.work)
        try:
            engine.find_window()
            yield engine
        finally:
            engine.close()

    def press_and_move(self, start, offset, hold, steps=10):
        """Presses the left button at start, holds it hold seconds, moves by
        offset in steps and lets go."""
        x, y = start
        self.desktop.xdotool("mousemove", x, y, "mousedown", 1)
        time.sleep(hold)
        for step in range(1, steps + 1):
            self.desktop.xdotool("mousemove", x + offset[0] * step // steps, y + offset[1] * step // steps)
            time.sleep(0.02)
        time.sleep(0.05)
        self.desktop.xdotool("mouseup", 1)

    def test_ball_window_appears(self):
        with self.running("ball") as ball:
            title = self.desktop.run("xprop", "-id", ball.window, "_NET_WM_NAME", "WM_NAME")
            check('"ixo"' in title, f"the window's title is not ixo: {title!r}")
            first = self.desktop.wait_geometry(ball.window, lambda x, y, w, h: (w, h) == (64, 64),
                                               "the ball to be 64x64")
            # Thrown at start: it flies off on its own.
            self.desktop.wait_geometry(ball.window, lambda x, y, w, h: (x, y) != first[:2],
                                       f"the thrown ball to leave {first[:2]}")
            check(not ball.stderr(), f"error reports: {ball.stderr()}")

    def test_drag_moves_the_window_after_the_drag_delay(self):
        # (hold before moving, expected move): the window follows the pointer
        # only once the button has been down 180 ms.
        table = [(0.35, (150, 100)), (0.0, (0, 0))]
        for hold, moved in table:
            with self.running("idle") as idle:
                x, y, w, h = self.desktop.wait_geometry(idle.window, lambda x, y, w, h: (x, y, w, h) == (200, 200, 64, 64),
                                                        "the square at 200,200")
                if hold:
                    self.press_and_move((x + w // 2, y + h // 2), (150, 100), hold)
                else:  # all within a few milliseconds, in one xdotool run
                    self.desktop.xdotool("mousemove", x + 32, y + 32, "mousedown", 1, "mousemove_relative", 75, 50,
                                         "mousemove_relative", 75, 50, "mouseup", 1)
                target = (x + moved[0], y + moved[1])
                self.desktop.wait_geometry(idle.window, lambda x, y, w, h: abs(x - target[0]) <= 2 and abs(y - target[1]) <= 2,
                                           f"the window at {target} after a drag held {hold} s")
                time.sleep(0.3)  # nothing more happens after the release
                after = self.desktop.geometry(idle.window)
                check(abs(after[0] - target[0]) <= 2 and abs(after[1] - target[1]) <= 2,
                      f"the window went on to {after[:2]} after the release")

    def test_clicks_reach_the_object_and_a_drag_is_no_click(self):
        with self.running("input") as input_object:
            window = input_object.window
            self.desktop.wait_geometry(window, lambda x, y, w, h: (x, y, w, h) == (300, 250, 100, 100), "the object placed")
            for clicks in (1, 2):
                self.desktop.xdotool("mousemove", 340, 290, "click", 1)
                self.desktop.wait_geometry(window, lambda x, y, w, h: w == 100 + 10 * clicks,
                                           f"{clicks} click(s) to widen the window to {100 + 10 * clicks}")
            self.press_and_move((340, 290), (60, 40), 0.35)
            self.desktop.wait_geometry(window, lambda x, y, w, h: (x, y) == (360, 290), "the dragged window at 360,290")
            time.sleep(0.3)
            check(self.desktop.geometry(window)[2] == 120, "a drag was taken for a click")

    def test_keys_reach_keyboard_down_with_their_codes(self):
        # xdotool key names and the code the object must see for the last key
        # pressed; shift does not change a letter's code.
        table = [("a", 65), ("1", 49), ("Return", 13), ("space", 32), ("Left", 37), ("F5", 116),
                 ("shift+b", 66), ("Delete", 46)]
        with self.running("input") as input_object:
            window = input_object.window
            self.desktop.wait_geometry(window, lambda x, y, w, h: (w, h) == (100, 100), "the object's size")
            self.desktop.xdotool("windowfocus", "--sync", window)
            failures = []
            for key, code in table:
                self.desktop.xdotool("key", key)
                try:
                    self.desktop.wait_geometry(window, lambda x, y, w, h: h == 100 + code,
                                               f"key {key} to be seen as code {code}", timeout=2)
                except Failure as failure:
                    failures.append(str(failure))
            check(not failures, "; ".join(failures))

    def test_escape_and_sigterm_end_the_object(self):
        table = [("Escape on the main window", lambda engine: (
                     self.desktop.xdotool("windowfocus", "--sync", engine.window),
                     self.desktop.xdotool("key", "Escape"))),
                 ("SIGTERM", lambda engine: engine.process.send_signal(signal.SIGTERM))]
        for how, end in table:
            engine = Engine(self.desktop, self.engine_path, self.packages["idle"], self.work)
            try:
                engine.find_window()
                check(len(engine.extraction_folders()) == 1, "no extraction folder while running")
                end(engine)
                code = engine.wait_exit()
                check(code == 0, f"{how}: exit status {code}: {engine.stderr()}")
                check(not engine.extraction_folders(),
                      f"{how}: the extraction folder is left: {engine.extraction_folders()}")
            finally:
                engine.close()

    def test_window_shows_its_back_buffer(self):
        # Nothing is drawn yet: the back buffer, and so the window, is black
        # on the white root, and not a pixel more or less.
        with self.running("idle") as idle:
            left, top, width, height = self.desktop.wait_geometry(
                idle.window, lambda x, y, w, h: (x, y, w, h) == (200, 200, 64, 64), "the square at 200,200")
            self.desktop.xdotool("mousemove", 0, 0)
            black, white = (0, 0, 0), (255, 255, 255)
            margin = 8
            wrong = []

            def screen_matches():
                _, _, pixel = self.desktop.screen_pixels()
                wrong.clear()
                for y in range(top - margin, top + height + margin):
                    for x in range(left - margin, left + width + margin):
                        inside = left <= x < left + width and top <= y < top + height
                        expected = black if inside else white
                        if pixel(x, y) != expected:
                            wrong.append(((x, y), pixel(x, y), expected))
                return not wrong

            try:
                wait_until(screen_matches, CHANGE_TIMEOUT, "the screen to show the black window")
            except Failure as failure:
                raise Failure(f"{failure}: {len(wrong)} pixels differ, first (at, seen, expected): {wrong[:5]}") from None

    def test_no_display_names_headless(self):
        # (what DISPLAY is, for the message): both end at once with status 1.
        table = [(None, "DISPLAY is not set"), (":9999", "cannot open the display :9999")]
        for display, reason in table:
            env = {k: v for k, v in self.desktop.env.items() if k != "DISPLAY"}
            if display:
                env["DISPLAY"] = display
            engine = Engine(self.desktop, self.engine_path, self.packages["idle"], self.work, env=env)
            try:
                code = engine.wait_exit()
                message = engine.stderr()
                check(code == 1, f"DISPLAY={display}: exit status {code}")
                check("--headless" in message and reason in message,
                      f"DISPLAY={display}: the message does not name --headless and the reason: {message!r}")
                check(not engine.extraction_folders(), f"DISPLAY={display}: a package was extracted")
            finally:
                engine.close()


def main(argv):
    if len(argv) < 5:
        print(__doc__, file=sys.stderr)
        return 2
    engine, ixo, objects_dir, examples_dir = argv[1:5]
    chosen = argv[5:]

    missing = sorted({package for tool, package in TOOLS.items() if not shutil.which(tool)})
    if missing:
        print(f"FAIL: the desktop tests need the Debian packages {' '.join(missing)} "
              "(scripts/install-deps.sh installs them)", file=sys.stderr)
        return 1

    work = tempfile.mkdtemp(prefix="ixo-desktop-")
    desktop = Desktop(work)
    # A kill from the test runner still ends the servers and engines.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    passed, failed = [], []
    try:
        packages = {}
        sources = {"ball": os.path.join(examples_dir, "ball")}
        sources.update({name: os.path.join(objects_dir, name) for name in sorted(os.listdir(objects_dir))})
        for name, folder in sources.items():
            packages[name] = os.path.join(work, name + ".ixo")
            subprocess.run([ixo, "build", folder, "-o", packages[name]], check=True, stdout=subprocess.DEVNULL)
        desktop.start()
        cases = Cases(desktop, engine, packages, work)
        names = [name for name in dir(Cases) if name.startswith("test_")]
        names.sort(key=lambda name: Cases.__dict__[name].__code__.co_firstlineno)
        for name in names:
            if chosen and name not in chosen:
                continue
            started = time.monotonic()
            try:
                getattr(cases, name)()
                passed.append(name)
                print(f"ok    {name} ({time.monotonic() - started:.1f} s)", flush=True)
            except Exception as error:  # a failed case does not stop the others
                failed.append(name)
                print(f"FAIL  {name}: {error}", flush=True)
                if not isinstance(error, Failure):
                    traceback.print_exc()
    finally:
        desktop.stop()
        shutil.rmtree(work, ignore_errors=True)
    print(f"{len(passed)} passed, {len(failed)} failed")
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
