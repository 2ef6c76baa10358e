#!/usr/bin/env python3
"""Checks that a built zartune.hlp answers every keyword the programs open.

WinHelp's HELP_KEY finds a topic only through the keyword index, and Wine's
winhlp32 ignores HELP_KEY, so the index itself is read and checked here.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import hlpindex  # noqa: E402

# As the programs pass them to WinHelpA: ANSI (Windows-1252) bytes.
REQUIRED = [
    b"Welcome to Zarvo\xae 2002",
    b"Configuration Options",
    b"Evertie",
    b"MTU (Maximum Transmission Unit)",
    b"RWIN (Receive Window)",
    b"TTL (Time To Live)",
    b"Session Keep Alive",
    b"PMTU (Path Maximum Transmission Unit)",
    b"NDI Cache",
    b"Previous Settings",
    b"Largest MTU",
    b"Receive window",
    b"Current Settings",
    b"Line speed",
    b"Unattended Apply",
    b"Log",
]


def main(path):
    with open(path, "rb") as stream:
        found = set(hlpindex.keywords(stream.read()))
    missing = [keyword for keyword in REQUIRED if keyword not in found]
    for keyword in missing:
        print("missing keyword: %r" % keyword)
    print("%d of %d keywords found in %s" % (len(REQUIRED) - len(missing), len(REQUIRED), path))
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
