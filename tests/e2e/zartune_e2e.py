"""Helpers of the configurator's end-to-end tests: starting the installed
zartune.exe, ending it and the agent it starts, Windows versions, the
form's control ids and screenshots saved as artefacts of the build."""
import os
import subprocess
import time

import zve2e
from zve2e import driver, ids

CONFIGURATOR = zve2e.INSTALL_FOLDER + r"\zartune.exe"
MAIN_TITLE = " Zarvo 2003 v5.4"
ABOUT_TITLE = "About Zarvo"
CONFIG_FILE = zve2e.INSTALL_FOLDER + r"\Zartune2.cfg"
PREVIOUS_SETTINGS = zve2e.INSTALL_FOLDER + r"\Zartune-previous.reg"
# Screenshots are kept next to the prefix, in the build folder, never committed.
SCREENSHOTS = os.path.join(os.path.dirname(zve2e.PREFIX), "e2e-screenshots")

RADIO_PAIRS = [(ids.IDC_MTU_DEFAULT, ids.IDC_MTU_CUSTOM), (ids.IDC_RWIN_DEFAULT, ids.IDC_RWIN_CUSTOM),
               (ids.IDC_TTL_DEFAULT, ids.IDC_TTL_CUSTOM), (ids.IDC_KEEPALIVE_DEFAULT, ids.IDC_KEEPALIVE_CUSTOM),
               (ids.IDC_NDI_DEFAULT, ids.IDC_NDI_CUSTOM)]
VALUE_CONTROLS = [ids.IDC_MTU_EDIT, ids.IDC_RWIN_LIST, ids.IDC_TTL_EDIT, ids.IDC_KEEPALIVE_LIST, ids.IDC_NDI_LIST]
MANUAL_SET = [button for pair in RADIO_PAIRS for button in pair] + [
    ids.IDC_PMTU, ids.IDC_BLACKHOLE, ids.IDC_LABEL_HTTP10, ids.IDC_HTTP10_LIST, ids.IDC_LABEL_HTTP11,
    ids.IDC_HTTP11_LIST, ids.IDC_LINK_MTU, ids.IDC_LINK_RWIN, ids.IDC_LINK_TTL, ids.IDC_LINK_KEEPALIVE,
    ids.IDC_LINK_GENERAL, ids.IDC_LINK_NDI]
PANE_MODE = 1
PANE_OS = 2


def lines(output):
    """A driver's printed text with Windows line ends made plain, the last one dropped."""
    text = output.replace("\r\n", "\n")
    return text[:-1] if text.endswith("\n") else text


def control(command, title, control_id):
    code, out = driver(command, title, control_id)
    assert code == 0, "%s %s %s failed" % (command, title, control_id)
    return lines(out)


def set_windows_version(version):
    """winecfg's name (win98, win2k, winxp, ...), or None for the prefix's own."""
    if version is None:
        zve2e.reg_delete(r"HKCU\Software\Wine", "Version")
    else:
        zve2e.reg_add(r"HKCU\Software\Wine", "Version", "REG_SZ", version)


def processes(name):
    code, out = driver("processes", name)
    assert code == 0
    return int(out.strip())


def stop_agents():
    while driver("no-window", zve2e.AGENT_TITLE)[0] != 0:
        driver("post", zve2e.AGENT_TITLE, zve2e.WM_CLOSE, 0, 0)
        zve2e.wait_until(lambda: driver("no-window", zve2e.AGENT_TITLE)[0] == 0)


def remove_config_file():
    path = zve2e.unix_path(CONFIG_FILE)
    if os.path.exists(path):
        os.chmod(path, 0o644)
        os.remove(path)


def remove_previous_settings():
    """The record Apply keeps of what it first changed; the uninstaller leaves it, as the user's."""
    path = zve2e.unix_path(PREVIOUS_SETTINGS)
    if os.path.exists(path):
        os.remove(path)


def screenshot(title, name, *more_titles):
    """Saves the window titled title as SCREENSHOTS/name.png; with more
    titles, the smallest part of the screen that shows all those windows."""
    rects = [window_rect(each) for each in (title,) + more_titles]
    left, top = min(r[0] for r in rects), min(r[1] for r in rects)
    right, bottom = max(r[2] for r in rects), max(r[3] for r in rects)
    os.makedirs(SCREENSHOTS, exist_ok=True)
    display = zve2e.wine_env()["DISPLAY"]
    # Let the window finish painting first: a sent message returns once the
    # messages before it are handled.
    driver("send", title, 0, 0, 0)
    subprocess.run(["/usr/bin/import", "-display", display, "-window", "root",
                    "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top), "+repage",
                    os.path.join(SCREENSHOTS, name + ".png")],
                   check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def values(key):
    """{name: (type, data in hex)} of HKEY_LOCAL_MACHINE\\key; None when the key does not exist."""
    code, out = driver("values", key)
    if code != 0:
        return None
    found = {}
    for line in lines(out).split("\n"):
        if line:
            name, kind, data = line.split("\t")
            found[name] = (int(kind), data)
    return found


def dump(keys):
    """{(key, name): (type, data in hex)} of every value of the keys."""
    found = {}
    for key in keys:
        for name, value in (values(key) or {}).items():
            found[(key, name)] = value
    return found


def text_value(text):
    """A REG_SZ as the driver prints it: the text and its NUL, in hex."""
    return (1, (text.encode("latin-1") + b"\0").hex())


def number_value(number):
    return (4, number.to_bytes(4, "little").hex())


def capture(rect):
    """The screen inside rect (left, top, right, bottom) as (width, height, RGB bytes)."""
    left, top, right, bottom = rect
    display = zve2e.wine_env()["DISPLAY"]
    ppm = subprocess.run(["/usr/bin/import", "-display", display, "-window", "root",
                          "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top), "+repage", "-depth", "8",
                          "ppm:-"],
                         check=True, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL).stdout
    # "P6", width, height and maximum, each ended by one blank; then the pixels, which may start with one.
    fields, start = [], 0
    for _ in range(4):
        end = start + len(ppm[start:]) - len(ppm[start:].lstrip())
        start = end
        while not ppm[end:end + 1].isspace():
            end += 1
        fields.append(ppm[start:end])
        start = end + 1
    return int(fields[1]), int(fields[2]), ppm[start:]


def save_capture(image, name):
    width, height, pixels = image
    os.makedirs(SCREENSHOTS, exist_ok=True)
    subprocess.run(["/usr/bin/convert", "ppm:-", os.path.join(SCREENSHOTS, name + ".png")],
                   input=b"P6\n%d %d\n255\n" % (width, height) + pixels, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def window_rect(title):
    code, out = driver("window-rect", title)
    assert code == 0
    return tuple(int(n) for n in out.split())


class Configurator:
    """The installed zartune.exe with arguments; ended with the test, with
    every window it opened and the agent it started."""

    def __init__(self, *args):
        self.process = subprocess.Popen([*zve2e.WINE, CONFIGURATOR, *args], stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        env=zve2e.wine_env())

    def wait_window(self, title=MAIN_TITLE):
        return driver("wait-window", title, 30)[0] == 0

    def exit_code(self, seconds=60):
        try:
            return self.process.wait(seconds)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        for title in (ABOUT_TITLE, MAIN_TITLE):
            if self.process.poll() is None and driver("no-window", title)[0] != 0:
                driver("post", title, zve2e.WM_CLOSE, 0, 0)
        if self.exit_code(20) is None:
            self.process.kill()
            self.process.wait()
        stop_agents()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


def measure(dialog, fields, start, seconds=60):
    """Types fields ({control id: text}) into a measuring dialog and presses its start button: the seconds until
    that button is enabled again, None when it is not within seconds."""
    for control_id, text in fields.items():
        assert driver("set-text", dialog, control_id, text)[0] == 0
    started = time.monotonic()
    assert driver("click", dialog, start)[0] == 0 and driver("send", dialog, 0, 0, 0)[0] == 0  # handled
    done = zve2e.wait_until(lambda: control("enabled", dialog, start) == "1", seconds)
    return time.monotonic() - started if done else None


def apply_declining_restart(explanation_caption):
    """Presses the form's Apply, closes the explanation titled explanation_caption,
    answers No to the restart and closes the reminder; True when each step happened."""
    steps = (("click", MAIN_TITLE, ids.IDC_APPLY), ("wait-window", explanation_caption, 30),
             ("click", explanation_caption, zve2e.IDOK),
             ("answer", "Zarvo 2003", "No", 60), ("answer", "Zarvo 2003", "OK"))
    return all(driver(*step)[0] == 0 for step in steps)
