"""The agent's log end to end: the real zarwatch.exe logs a line that comes
up and drops and a keep-alive request that fails (its timers sent by hand,
its requests served on loopback, then refused), and keeps its line up
without any log in a read-only folder; the real zartune.exe's Keep-Alive Log
shows that log and an older one, newest first, under the last 24 hours."""
import datetime
import os
import socket
import subprocess
import unittest

import zartune_e2e as zt
import zve2e
from zartune_e2e import Configurator, control
from zve2e import Agent, driver, ids

WM_TIMER = 0x0113
CONNECTION_CHECK, KEEP_ALIVE = 1, 2
TITLE = "Keep-Alive Log"
FOLDER = zve2e.unix_path(zve2e.INSTALL_FOLDER)
LOG = os.path.join(FOLDER, "zarwatch.log")


def tick(timer):
    # Sent: it comes back once the tick's request is over.
    assert driver("send", zve2e.AGENT_TITLE, WM_TIMER, timer, 0)[0] == 0


def refuse_requests():
    with socket.socket() as unused:
        unused.bind(("127.0.0.1", 0))
        zve2e.use_proxy(unused.getsockname()[1])


def minutes_ago(minutes):
    return (datetime.datetime.now() - datetime.timedelta(minutes=minutes)).strftime("%Y-%m-%d %H:%M:%S")


class KeepAliveLog(unittest.TestCase):
    def tearDown(self):
        zve2e.no_proxy()
        for path in (LOG, LOG + ".old"):
            if os.path.exists(path):
                os.remove(path)

    def test_the_dialog_shows_what_the_agent_logged(self):
        older = ["%s  Line up" % minutes_ago(150), "%s  Zarwatch ended" % minutes_ago(60), "not a line of the log"]
        with open(LOG + ".old", "w", newline="\r\n") as file:
            file.write("\n".join(older) + "\n")
        with zve2e.LoopbackServer() as server, Agent() as agent:
            zve2e.use_proxy(server.port)
            self.assertTrue(agent.wait_window())
            tick(CONNECTION_CHECK)
            refuse_requests()
            tick(KEEP_ALIVE)
            # The agent still runs, so the one the configurator starts ends at once and logs nothing.
            with Configurator() as configurator:
                self.assertTrue(configurator.wait_window())
                driver("post", zt.MAIN_TITLE, zve2e.WM_COMMAND, ids.ID_TOOLS_KEEPALIVE_LOG, 0)
                self.assertEqual(driver("wait-window", TITLE, 30)[0], 0)
                zt.screenshot(TITLE, "keepalive-log")
                summary = control("control-text", TITLE, ids.IDC_LOG_SUMMARY)
                shown = control("items", TITLE, ids.IDC_LOG_LIST).split("\n")
                self.assertEqual(driver("click", TITLE, zve2e.IDCANCEL)[0], 0)
        self.assertEqual(summary, "Line up 1 h 30 min of the last 24 h; 1 drop; 1 failed keep-alive request.")
        self.assertEqual([line[21:] for line in shown[:4]],
                         ["Keep-alive request failed: http://www.example.com/", "Line down", "Line up",
                          "Zarwatch started"])
        self.assertEqual(shown[4:], older[::-1])

    def test_a_read_only_folder_stops_neither_the_agent_nor_its_requests(self):
        with zve2e.LoopbackServer() as server:
            zve2e.use_proxy(server.port)
            # Root writes anywhere a mode allows nothing; an immutable folder takes nothing, even from root.
            subprocess.run(["chattr", "+i", FOLDER], check=True)
            try:
                with Agent() as agent:
                    self.assertTrue(agent.wait_window())
                    tick(CONNECTION_CHECK)
                    tick(KEEP_ALIVE)
                    self.assertEqual(len(server.requests), 2)
                    self.assertEqual(driver("send", zve2e.AGENT_TITLE, 0, 0, 0)[0], 0)
            finally:
                subprocess.run(["chattr", "-i", FOLDER], check=True)
        self.assertFalse(os.path.exists(LOG))


if __name__ == "__main__":
    unittest.main()
