"""Installs the given files into the e2e prefix as the installer does: into
C:\\Program Files\\Zarvo, with the folder written as "Folder" of section
"Install" in plain form (no trailing backslash, as the installer writes it)."""
import os
import shutil
import sys

import zve2e

folder = zve2e.unix_path(zve2e.INSTALL_FOLDER)
os.makedirs(folder, exist_ok=True)
for path in sys.argv[1:]:
    shutil.copy(path, folder)
zve2e.reg_add(zve2e.PRODUCT_KEY + r"\Install", "Folder", "REG_SZ", zve2e.INSTALL_FOLDER)
