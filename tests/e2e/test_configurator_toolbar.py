"""The installed zartune.exe's toolbar under real mouse input: dragged by its
gripper to the left side of the main window, then off it into its floating
window, used there, hidden by its menu command and its close box and shown
again by the command, and taken back to the top by the floating window's
caption. Screenshots of the bar while it is dragged, docked on the left and
floating land in the build folder."""
import time
import unittest

import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator
from zve2e import driver, ids

TOOLBAR = ids.ID_VIEW_TOOLBAR  # the bar's id is its toggle command
FLOATING_TITLE = "Toolbar"
RESTORE_PROMPT = "Restore Windows original settings"
TOOLBAR_SETTINGS = r"HKLM\SOFTWARE\Orvenda Ltd\Zarvo\Toolbar"  # where the bar was left


def rect(*args):
    code, out = driver(*args)
    assert code == 0, "%s failed" % (args,)
    return [int(n) for n in out.split()]


def centre(r):
    return (r[0] + r[2]) // 2, (r[1] + r[3]) // 2


def mouse(action, point):
    assert driver("mouse", action, *point)[0] == 0


def drag(start, end, on_the_way=None):
    """Presses the left button at start, moves to end in steps and lets go
    there; on_the_way runs before the button comes up."""
    mouse("down", start)
    for step in range(1, 5):
        mouse("move", (start[0] + (end[0] - start[0]) * step // 4, start[1] + (end[1] - start[1]) * step // 4))
    if on_the_way:
        on_the_way()
    mouse("up", end)


def width(r):
    return r[2] - r[0]


def height(r):
    return r[3] - r[1]


class ToolbarDocking(unittest.TestCase):
    def setUp(self):
        zt.stop_agents()
        zt.remove_config_file()
        zt.set_windows_version(None)
        zve2e.reg_delete(TOOLBAR_SETTINGS)
        self.addCleanup(zve2e.reg_delete, TOOLBAR_SETTINGS)
        # Xvfb has no window manager: Wine draws the captions the screenshots show.
        zve2e.reg_add(r"HKCU\Software\Wine\X11 Driver", "Decorated", "REG_SZ", "N")

    def wait_for(self, condition, what):
        self.assertTrue(zve2e.wait_until(condition), what)

    def test_the_toolbar_docks_on_the_left_floats_and_goes_back_to_the_top(self):
        with Configurator() as configurator:
            self.assertTrue(configurator.wait_window())
            frame = rect("window-rect", zt.MAIN_TITLE)
            top = rect("control-rect", zt.MAIN_TITLE, TOOLBAR)
            form = rect("control-rect", zt.MAIN_TITLE, ids.IDC_CONNECTION_TYPE)
            self.assertGreater(width(top), height(top))

            # To the left side, with the drag rectangle on the way.
            def on_the_way():
                time.sleep(0.5)  # for the picture only: the rectangle follows the last move
                zt.screenshot(zt.MAIN_TITLE, "toolbar-dragging")
            drag((top[0] + 4, top[1] + 4), (top[0] + 2, (frame[1] + frame[3]) // 2), on_the_way)
            self.wait_for(lambda: height(rect("control-rect", zt.MAIN_TITLE, TOOLBAR)) > 200, "not docked on the left")
            left = rect("control-rect", zt.MAIN_TITLE, TOOLBAR)
            self.assertEqual(left[0], top[0])
            self.assertEqual(left[1], top[1])
            # The form moved right by the bar and up into the toolbar's old
            # place; the frame widened by the bar, so the form kept its width.
            self.assertEqual(rect("control-rect", zt.MAIN_TITLE, ids.IDC_CONNECTION_TYPE),
                             [form[0] + width(left), form[1] - height(top), form[2] + width(left), form[3] - height(top)])
            self.assertEqual(width(rect("window-rect", zt.MAIN_TITLE)), width(frame) + width(left))
            mouse("move", (frame[2] - 40, frame[1] + 10))  # no tooltip in the picture
            zt.screenshot(zt.MAIN_TITLE, "toolbar-left")

            # Off the side into the middle of the form: the floating window.
            drag((left[0] + 4, left[1] + 4), centre(frame))
            self.assertEqual(driver("wait-window", FLOATING_TITLE, 20)[0], 0, "not floating")
            self.wait_for(lambda: rect("window-rect", zt.MAIN_TITLE) == frame, "the frame did not narrow again")
            self.assertEqual(rect("control-rect", zt.MAIN_TITLE, ids.IDC_CONNECTION_TYPE),
                             [form[0], form[1] - height(top), form[2], form[3] - height(top)])
            floating = rect("window-rect", FLOATING_TITLE)
            bar = rect("control-rect", FLOATING_TITLE, TOOLBAR)
            self.assertGreater(width(bar), height(bar))
            self.assertTrue(floating[0] <= bar[0] and bar[2] <= floating[2] and floating[1] < bar[1] <= floating[3])
            zt.screenshot(zt.MAIN_TITLE, "toolbar-floating", FLOATING_TITLE)

            # Its buttons work there: the hot button's prompt, a click.
            mouse("move", centre(rect("button-rect", FLOATING_TITLE, TOOLBAR, ids.ID_FILE_RESTORE)))
            self.wait_for(lambda: zt.lines(driver("status-text", zt.MAIN_TITLE, 0)[1]) == RESTORE_PROMPT,
                          "no prompt for the hot button")
            about = centre(rect("button-rect", FLOATING_TITLE, TOOLBAR, ids.ID_APP_ABOUT))
            mouse("down", about)
            mouse("up", about)
            self.assertTrue(configurator.wait_window(zt.ABOUT_TITLE), "the About button did nothing")
            self.assertEqual(driver("click", zt.ABOUT_TITLE, ids.IDC_ABOUT_CLOSE)[0], 0)
            self.wait_for(lambda: driver("no-window", zt.ABOUT_TITLE)[0] == 0, "the About box stayed")

            # The menu command hides the floating bar and shows it again in its place.
            for shown in ("0", "1"):
                driver("post", zt.MAIN_TITLE, zve2e.WM_COMMAND, TOOLBAR, 0)
                self.wait_for(lambda: zt.lines(driver("visible", FLOATING_TITLE, TOOLBAR)[1]) == shown,
                              "the toggle did not make it %s" % shown)
            self.assertEqual(rect("window-rect", FLOATING_TITLE), floating)
            # So does its close box, which leaves the menu command to show it again.
            close_box = (floating[2] - 10, floating[1] + 10)
            mouse("down", close_box)
            mouse("up", close_box)
            self.wait_for(lambda: zt.lines(driver("visible", FLOATING_TITLE, TOOLBAR)[1]) == "0",
                          "the close box did not hide it")
            driver("post", zt.MAIN_TITLE, zve2e.WM_COMMAND, TOOLBAR, 0)
            self.wait_for(lambda: zt.lines(driver("visible", FLOATING_TITLE, TOOLBAR)[1]) == "1",
                          "the toggle did not show it again")

            # Its caption takes it back to the top.
            drag((floating[0] + 20, floating[1] + 6), (centre(top)[0], top[1] + 2))
            self.wait_for(lambda: rect("control-rect", zt.MAIN_TITLE, TOOLBAR) == top, "not back at the top")
            self.assertEqual(rect("control-rect", zt.MAIN_TITLE, ids.IDC_CONNECTION_TYPE), form)


if __name__ == "__main__":
    unittest.main()
