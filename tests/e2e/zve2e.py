"""Shared helpers of the end-to-end tests: the prefix, the driver, the
registry, the agent and a loopback HTTP server.

Every Wine program a test starts writes to files or /dev/null, never to a
pipe of ctest's, and is ended before the test ends.
"""
import http.server
import os
import re
import subprocess
import sys
import tempfile
import threading
import time

PREFIX = os.environ["ZV_E2E_PREFIX"]
DRIVER = os.environ["ZV_E2E_DRIVER"]
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
SCRIPTS = os.path.join(SOURCE, "scripts")
# Wine in the prefix, with the loader of the prefix's architecture (see scripts/wine-env).
WINE = [os.path.join(SCRIPTS, "wine-run"), "--prefix", PREFIX]

INSTALL_FOLDER = r"C:\Program Files\Zarvo"
PRODUCT_KEY = r"HKLM\SOFTWARE\Orvenda Ltd\Zarvo"
INTERNET_SETTINGS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings"
RUN_KEYS = [r"HKLM\SOFTWARE\MICROSOFT\WINDOWS\CurrentVersion\Run",
            r"HKLM\SOFTWARE\MICROSOFT\WINDOWS\CurrentVersion\RunServices"]
AGENT_TITLE = "ZV - Kavrel"
AGENT = INSTALL_FOLDER + r"\zarwatch.exe"
WM_CLOSE = 0x0010
WM_COMMAND = 0x0111
IDOK = 1
IDCANCEL = 2


class ResourceIds:
    """The ids the programs' resource headers #define, by name (ids.IDC_APPLY),
    so that a test reaches a control or command by what it is, not by its number."""

    def __init__(self, *headers):
        self._headers = headers
        for header in headers:
            with open(os.path.join(SOURCE, header)) as text:
                for name, number in re.findall(r"^#define\s+(\w+)\s+(-?\d+)\b", text.read(), re.MULTILINE):
                    setattr(self, name, int(number))

    def __getattr__(self, name):
        raise AttributeError("%s is not #defined in %s" % (name, " or ".join(self._headers)))


ids = ResourceIds("resources/zartune_ids.h", "resources/zarwatch_ids.h")


def unix_path(windows_path):
    drive, rest = windows_path.split(":", 1)
    assert drive.upper() == "C"
    return os.path.join(PREFIX, "drive_c", *rest.strip("\\").split("\\"))


def wine_env(debug="-all"):
    env = dict(os.environ, WINEDEBUG=debug)
    with open(os.path.join(PREFIX, ".display")) as display:
        env["DISPLAY"] = display.read().strip()
    return env


def run(args, timeout=60, tell_errors=False):
    """Runs a program to its end; returns (exit code, standard output). With
    tell_errors, what a failed run wrote to standard error goes to the test's."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=out, stderr=err, env=wine_env())
        try:
            code = process.wait(timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            raise
        err.seek(0)
        errors = err.read().decode("latin-1").strip()
        if code == 127 and "Inconsistency detected by ld.so" in errors:
            # The 64-bit Wine's exit can trip glibc while a library still loads
            # in another thread; the command had run, so its answer is asked again.
            return run(args, timeout, tell_errors)
        if tell_errors and code != 0 and errors:
            print("%s ended with %d: %s" % (" ".join(args[3:]), code, errors), file=sys.stderr)
        out.seek(0)
        return code, out.read().decode("latin-1")


def driver(*args, timeout=180):
    """Runs one driver command. Its own waits end first; the time limit only
    guards against a driver that hangs, so it lies above any wait a command is given."""
    return run([*WINE, DRIVER, *[str(a) for a in args]], timeout, tell_errors=True)


def setting(section, name, scrambled=True):
    """A value of the product's settings store, decoded; None when absent."""
    code, out = driver("setting", section, name, "scrambled" if scrambled else "plain")
    return out.rstrip("\r\n") if code == 0 else None


def scramble(text):
    """The store's encoding without padding, as section and value names use it."""
    data = text.encode("latin-1")
    head = "Q" * (len(data) // 16) + chr(ord("A") + len(data) % 16)
    return head + "".join(chr(ord("A") + (b & 15)) + chr(ord("A") + (b >> 4)) for b in data)


def reg_add(key, name=None, kind="REG_SZ", data=""):
    args = [*WINE, "reg", "add", key, "/f"]
    if name is not None:
        args += ["/v", name, "/t", kind, "/d", str(data)]
    code, _ = run(args)
    assert code == 0, "reg add %s %s failed" % (key, name)


def reg_delete(key, name=None):
    run([*WINE, "reg", "delete", key, "/f"] + (["/v", name] if name is not None else []))


def reg_query(key, name):
    """(type, data) of a value, data as reg.exe shows it; None when absent."""
    code, out = run([*WINE, "reg", "query", key, "/v", name])
    if code != 0:
        return None
    for line in out.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[0].lower() == name.lower() and parts[1].startswith("REG_"):
            return parts[1], parts[2] if len(parts) == 3 else ""
    return None


def regedit(lines):
    """Imports REGEDIT4 lines (keys, values, "name"=- and [-key] deletions)
    with Wine's regedit, all in one run."""
    with tempfile.NamedTemporaryFile("wb", suffix=".reg", delete=False) as reg:
        reg.write(("\r\n".join(["REGEDIT4", ""] + lines) + "\r\n").encode("latin-1"))
    try:
        code, _ = run([*WINE, "regedit", "/s", "Z:" + reg.name.replace("/", "\\")])
        assert code == 0, "regedit /s failed"
    finally:
        os.remove(reg.name)


def reg_import(key, values):
    """Sets the values {name: REGEDIT4 data, such as '"text"', 'dword:00000009'
    or 'hex:de,ad'} under key."""
    root, path = key.split("\\", 1)
    root = {"HKLM": "HKEY_LOCAL_MACHINE", "HKCU": "HKEY_CURRENT_USER"}[root]
    regedit(["[%s\\%s]" % (root, path)] + ['"%s"=%s' % (name, data) for name, data in values.items()])


def reg_tree(key):
    """Every value below key, as reg.exe lists them: {(subkey, name): (type, data)}."""
    code, out = run([*WINE, "reg", "query", key, "/s"])
    if code != 0:
        return {}
    tree = {}
    subkey = None
    for line in out.splitlines():
        if line.startswith("HKEY_"):
            subkey = line.strip()
        elif line.startswith("    ") and subkey is not None:
            parts = line[4:].split("    ", 2)
            if len(parts) >= 2:
                tree[(subkey, parts[0])] = (parts[1], parts[2] if len(parts) == 3 else "")
    return tree


def wait_until(condition, seconds=20):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(0.1)
    return True


class Agent:
    """The installed zarwatch.exe, started with arguments and ended with the
    test. A second copy is never asked to close: the window is the first's."""

    def __init__(self, *args, debug="-all", log=None, second_copy=False):
        self.second_copy = second_copy
        self.log = open(log, "wb") if log else None
        self.process = subprocess.Popen([*WINE, AGENT, *args], stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL,
                                        stderr=self.log or subprocess.DEVNULL, env=wine_env(debug))

    def wait_window(self):
        code, _ = driver("wait-window", AGENT_TITLE, 30)
        return code == 0

    def exited(self, seconds=30):
        try:
            self.process.wait(seconds)
            return True
        except subprocess.TimeoutExpired:
            return False

    def stop(self):
        if self.process.poll() is None:
            if not self.second_copy:
                driver("post", AGENT_TITLE, WM_CLOSE, 0, 0)
            if self.second_copy or not self.exited(20):
                self.process.kill()
                self.process.wait()
        if self.log:
            self.log.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


class LoopbackServer:
    """An HTTP server on 127.0.0.1 that answers every request with a small
    page and remembers the request line and headers of each, and what
    during(), when given, returned while the client waited for the answer."""

    def __init__(self, during=None):
        requests = self.requests = []
        self.seen_during = seen_during = []

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                requests.append((self.requestline, dict(self.headers)))
                if during:
                    seen_during.append(during())
                body = b"<html><body>up</body></html>"
                self.send_response(200)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.port = self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.server.shutdown()
        self.server.server_close()


def use_proxy(port):
    """Routes the prefix's WinINet requests, the agent's built-in address too, to 127.0.0.1:port."""
    reg_add(INTERNET_SETTINGS, "ProxyEnable", "REG_DWORD", 1)
    reg_add(INTERNET_SETTINGS, "ProxyServer", "REG_SZ", "127.0.0.1:%d" % port)


def no_proxy():
    reg_add(INTERNET_SETTINGS, "ProxyEnable", "REG_DWORD", 0)
    reg_delete(INTERNET_SETTINGS, "ProxyServer")
