"""The real agent keeps the line up in a read-only folder (root: chattr), then logs a drop and a
failed request; the real zartune.exe shows them and an older log under the last 24 hours."""
import datetime
import os
import subprocess
import unittest

import zartune_e2e as zt
import zve2e
from zve2e import driver, ids

TITLE = "Keep-Alive Log"
FOLDER = zve2e.unix_path(zve2e.INSTALL_FOLDER)


def tick(timer):  # WM_TIMER, sent: 1 checks the line, 2 keeps it alive; back once the request is over
    assert driver("send", zve2e.AGENT_TITLE, 0x0113, timer, 0)[0] == 0


class KeepAliveLog(unittest.TestCase):
    def test_a_read_only_folder_stops_nothing_and_the_dialog_shows_what_the_agent_logged(self):
        ago = lambda minutes: (datetime.datetime.now() - datetime.timedelta(minutes=minutes)).strftime("%F %T")
        older = ["%s  Line up" % ago(150), "%s  Zarwatch ended" % ago(60), "not a line of the log"]
        with open(os.path.join(FOLDER, "zarwatch.log.old"), "w", newline="\r\n") as file:
            file.write("\n".join(older) + "\n")
        subprocess.run(["chattr", "+i", FOLDER], check=True)  # root writes anywhere but there
        with zve2e.Agent() as agent:
            try:
                with zve2e.LoopbackServer() as server:  # whose port refuses once it ends
                    zve2e.use_proxy(server.port)
                    self.assertTrue(agent.wait_window())
                    tick(1)
                    tick(2)
                    self.assertEqual((len(server.requests), os.listdir(FOLDER).count("zarwatch.log")), (2, 0))
            finally:
                subprocess.run(["chattr", "-i", FOLDER], check=True)
            tick(2)
            with zt.Configurator() as configurator:  # whose agent ends at once, finding this one
                self.assertTrue(configurator.wait_window())
                driver("post", zt.MAIN_TITLE, zve2e.WM_COMMAND, ids.ID_TOOLS_KEEPALIVE_LOG, 0)
                self.assertEqual(driver("wait-window", TITLE, 30)[0], 0)
                zt.screenshot(TITLE, "keepalive-log")
                summary = zt.control("control-text", TITLE, ids.IDC_LOG_SUMMARY)
                shown = zt.control("items", TITLE, ids.IDC_LOG_LIST).split("\n")
                self.assertEqual(driver("click", TITLE, zve2e.IDCANCEL)[0], 0)
        self.assertEqual(summary, "Line up 1 h 30 min of the last 24 h; 1 drop; 1 failed keep-alive request.")
        self.assertEqual([line[21:] for line in shown[:2]] + shown[2:],
                         ["Keep-alive request failed: http://www.example.com/", "Line down"] + older[::-1])


if __name__ == "__main__":
    unittest.main()
