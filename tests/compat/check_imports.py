#!/usr/bin/env python3
"""Checks that every function a program imports exists on each Windows the
product promises, by the first versions in a table of documented minimums
(first_versions.txt). Wine exports everything whatever version it reports,
so it cannot show this.

    check_imports.py --table FILE --objdump OBJDUMP program.exe...
    check_imports.py --table FILE --imports LIST    (one "DLL Function" a line)

Exit status 0 when nothing is missing anywhere, 1 when a function is missing
on some version or is not in the table, 2 when the table or the arguments
are wrong.
"""
import argparse
import re
import subprocess
import sys

NINE_X = ["95", "98", "Me"]
NT = ["3.1", "3.5", "3.51", "4.0"] + ["4.0SP%d" % n for n in range(1, 7)] + ["2000", "XP", "XPSP1", "XPSP2"]

# The Windows the product promises: family, release, the Internet Explorer it
# carries. Windows 95 and NT 4 are promised with IE 4 (msvcrt.dll, comctl32
# 4.71, WinINet); 98 ships IE 4.01, Me 5.5, 2000 5.01, XP SP2 6.
TARGETS = [
    ("Windows 95 + IE 4", "9x", "95", 4),
    ("Windows 98", "9x", "98", 4),
    ("Windows Me", "9x", "Me", 5),
    ("Windows NT 4.0 SP6a + IE 4", "nt", "4.0SP6", 4),
    ("Windows 2000", "nt", "2000", 5),
    ("Windows XP SP2", "nt", "XPSP2", 6),
]


class TableError(Exception):
    pass


class Requirement:
    """First release of one family that exports the function ("-": none),
    the Internet Explorer it needs there (0: none), and whether that
    family's export is only a stub that fails."""

    def __init__(self, token, releases, stub_allowed):
        match = re.fullmatch(r"(-|[0-9A-Za-z.]+?)(\+IE(\d))?(:stub)?", token)
        if not match or (match.group(1) != "-" and match.group(1) not in releases):
            raise TableError("unknown release %r" % token)
        if match.group(4) and not stub_allowed:
            raise TableError("only the 9x family has stubs: %r" % token)
        self.release = None if match.group(1) == "-" else releases.index(match.group(1))
        self.explorer = int(match.group(3) or 0)
        self.stub = bool(match.group(4))

    def met_by(self, release, explorer):
        return self.release is not None and self.release <= release and self.explorer <= explorer


def load_table(path):
    """{(DLL, function): (9x Requirement, NT Requirement, source comment)}."""
    table = {}
    with open(path) as lines:
        for number, line in enumerate(lines, 1):
            text, _, source = line.partition("#")
            fields = text.split()
            if not fields:
                continue
            where = "%s:%d: " % (path, number)
            if len(fields) != 4:
                raise TableError(where + "want DLL FUNCTION 9X NT # SOURCE")
            if not source.strip():
                raise TableError(where + "no source for %s" % fields[1])
            key = (fields[0].upper(), fields[1])
            if key in table:
                raise TableError(where + "%s %s twice" % key)
            try:
                nine_x = Requirement(fields[2], NINE_X, True)
                nt = Requirement(fields[3], NT, False)
            except TableError as error:
                raise TableError(where + str(error))
            if nine_x.stub and "harmless:" not in source:
                raise TableError(where + "a stub needs a \"harmless:\" reason")
            table[key] = (nine_x, nt, source.strip())
    return table


def dll_key(name):
    name = name.upper()
    return name[:-4] if name.endswith(".DLL") else name


def parse_objdump(text):
    """(DLL, function) pairs of objdump -p's import tables; by-ordinal imports as "#N"."""
    imports = []
    dll = None
    for line in text.splitlines():
        named = re.match(r"\s*DLL Name: (\S+)", line)
        if named:
            dll = dll_key(named.group(1))
            continue
        entry = re.match(r"\t[0-9a-f]+\t\s*(\d+)\s+(\S+)", line)
        if dll and entry:
            function = entry.group(2)
            imports.append((dll, "#" + entry.group(1) if function == "<none>" else function))
        elif line.strip() and not line.startswith("\t"):
            dll = None
    return imports


def read_list(path):
    with open(path) as lines:
        return [(dll_key(parts[0]), parts[1]) for parts in (line.split() for line in lines) if len(parts) == 2]


def check(name, imports, table):
    """Prints the findings for one program; returns (missing per target, unknown functions)."""
    missing = {target[0]: [] for target in TARGETS}
    unknown = []
    stubs = []
    for dll, function in sorted(set(imports)):
        entry = table.get((dll, function))
        if entry is None:
            unknown.append("%s %s" % (dll, function))
            continue
        nine_x, nt, source = entry
        for target, family, release, explorer in TARGETS:
            requirement, releases = (nine_x, NINE_X) if family == "9x" else (nt, NT)
            if not requirement.met_by(releases.index(release), explorer):
                missing[target].append("%s %s" % (dll, function))
        if nine_x.stub:
            stubs.append("%s %s  (%s)" % (dll, function, source))
    print("%s: %d imported functions" % (name, len(set(imports))))
    for target, _, _, _ in TARGETS:
        print("  %-28s %3d missing%s" % (target, len(missing[target]),
                                         (": " + ", ".join(missing[target])) if missing[target] else ""))
    for stub in stubs:
        print("  stub on the 9x family: " + stub)
    for function in unknown:
        print("  not in the table (add it with its documented first versions): " + function)
    return missing, unknown


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--table", required=True)
    parser.add_argument("--objdump")
    parser.add_argument("--imports", help="a list of \"DLL Function\" lines instead of programs")
    parser.add_argument("programs", nargs="*")
    options = parser.parse_args()
    try:
        table = load_table(options.table)
    except (TableError, OSError) as error:
        print("check_imports: %s" % error)
        return 2

    if options.imports:
        lists = [(options.imports, read_list(options.imports))]
    elif options.objdump and options.programs:
        lists = []
        for program in options.programs:
            result = subprocess.run([options.objdump, "-p", program], capture_output=True, text=True)
            if result.returncode != 0:
                print("check_imports: %s -p %s failed" % (options.objdump, program))
                return 2
            lists.append((program, parse_objdump(result.stdout)))
    else:
        parser.error("give --imports, or --objdump and programs")

    failed = False
    for name, imports in lists:
        if not imports:
            print("check_imports: no imports found in %s" % name)
            return 2
        missing, unknown = check(name, imports, table)
        failed = failed or unknown or any(missing.values())
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
