"""Installs the product into the e2e prefix with the real installer,
"setup.exe /S", and checks what the programs rely on: the files in
C:\\Program Files\\Zarvo and "Folder" of section "Install" in plain form."""
import os
import sys

import zve2e

SETUP = sys.argv[1]
FILES = ["zartune.exe", "zarwatch.exe", "zartune.hlp", "ping.wav"]

code, _ = zve2e.run([*zve2e.WINE, SETUP, "/S"], timeout=120)
if code != 0:
    sys.exit("setup.exe /S ended with %d" % code)
folder = zve2e.unix_path(zve2e.INSTALL_FOLDER)
missing = [name for name in FILES if not os.path.isfile(os.path.join(folder, name))]
if missing:
    sys.exit("not installed: %s" % ", ".join(missing))
if zve2e.reg_query(zve2e.PRODUCT_KEY + r"\Install", "Folder") != ("REG_SZ", zve2e.INSTALL_FOLDER):
    sys.exit("the install folder value is missing or wrong")
