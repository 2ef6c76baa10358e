"""Tests of check_imports.py: it must fail on what would keep a program from
loading, through its command line as compat.imports runs it."""
import os
import re
import subprocess
import sys
import tempfile
import textwrap
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
CHECKER = os.path.join(HERE, "check_imports.py")
TABLE = os.path.join(HERE, "first_versions.txt")
sys.path.insert(0, HERE)
import check_imports  # noqa: E402

# What objdump -p prints of an import table: two DLLs, one import by ordinal.
OBJDUMP = textwrap.dedent("""\
    The Import Tables (interpreted .idata section contents)
     vma:            Hint    Time      Forward  DLL       First
     00055000\t000550b4 00000000 00000000 000563e8 000553fc

    \tDLL Name: USER32.dll
    \tvma:  Hint/Ord Member-Name Bound-To
    \t55744\t  291  GetAncestor
    \t5575c\t  140  CreateWindowExA

     00055014\t000550c8 00000000 00000000 00056400 00055410

    \tDLL Name: COMCTL32.DLL
    \tvma:  Hint/Ord Member-Name Bound-To
    \t80000011\t   17  <none> <none>

    The Export Tables
    \t[   0] +base[   1] 0000 Exported
    """)


class TempFiles:
    def __init__(self):
        self.folder = tempfile.TemporaryDirectory()

    def write(self, name, text):
        path = os.path.join(self.folder.name, name)
        with open(path, "w") as out:
            out.write(textwrap.dedent(text))
        return path


def run(*args):
    result = subprocess.run([sys.executable, CHECKER, *args], capture_output=True, text=True)
    return result.returncode, result.stdout


class CheckImports(unittest.TestCase):
    def setUp(self):
        self.files = TempFiles()

    def tearDown(self):
        self.files.folder.cleanup()

    def check_list(self, lines, table=TABLE):
        return run("--table", table, "--imports", self.files.write("imports.txt", lines))

    def test_get_ancestor_fails_on_windows_95_only(self):
        code, out = self.check_list("USER32.dll CreateWindowExA\nUSER32.dll GetAncestor\nKERNEL32.dll Sleep\n")
        self.assertEqual(1, code, out)
        self.assertIn("Windows 95 + IE 4              1 missing: USER32 GetAncestor", out)
        for release in ("Windows 98", "Windows Me", "Windows NT 4.0 SP6a + IE 4", "Windows 2000", "Windows XP SP2"):
            self.assertRegex(out, re.escape(release) + r" +0 missing")

    def test_the_programs_own_lists_pass(self):
        code, out = self.check_list("WININET.dll InternetOpenA\nMSVCRT.dll malloc\nSHELL32.dll Shell_NotifyIconA\n")
        self.assertEqual(0, code, out)

    def test_a_function_the_table_does_not_know_fails(self):
        code, out = self.check_list("USER32.dll CreateWindowExA\nUSER32.dll MonitorFromPoint\n")
        self.assertEqual(1, code, out)
        self.assertIn("not in the table (add it with its documented first versions): USER32 MonitorFromPoint", out)

    def test_explorer_requirements_follow_each_release(self):
        table = self.files.write("table.txt", """\
            SHLWAPI  PathFoo  95+IE5  4.0+IE5  # test: needs IE 5
            KERNEL32 Nothing  -       2000     # test: NT 5 only
            """)
        code, out = self.check_list("SHLWAPI PathFoo\nKERNEL32 Nothing\n", table)
        self.assertEqual(1, code, out)
        self.assertIn("Windows 95 + IE 4              2 missing", out)
        self.assertIn("Windows 98                     2 missing", out)
        self.assertIn("Windows Me                     1 missing: KERNEL32 Nothing", out)
        self.assertIn("Windows NT 4.0 SP6a + IE 4     2 missing", out)
        self.assertIn("Windows 2000                   0 missing", out)

    def test_stubs_count_as_present_and_are_shown_with_their_reason(self):
        code, out = self.check_list("ADVAPI32.dll OpenProcessToken\n")
        self.assertEqual(0, code, out)
        self.assertIn("stub on the 9x family: ADVAPI32 OpenProcessToken", out)
        self.assertIn("harmless:", out)

    def test_table_errors_stop_the_check(self):
        for text, message in [
            ("USER32 Foo 95 3.1\n", "no source"),
            ("USER32 Foo 95:stub 3.1 # doc\n", "harmless"),
            ("USER32 Foo 96 3.1 # doc\n", "unknown release"),
            ("USER32 Foo 95 3.1:stub # doc harmless: x\n", "only the 9x family"),
            ("USER32 Foo 95 3.1 # a\nuser32 Foo 95 3.1 # b\n", "twice"),
            ("USER32 Foo 95 # a\n", "want DLL FUNCTION"),
        ]:
            with self.subTest(text=text):
                code, out = self.check_list("USER32 Foo\n", self.files.write("table.txt", text))
                self.assertEqual(2, code, out)
                self.assertIn(message, out)

    def test_objdump_output_is_read_with_ordinals(self):
        self.assertEqual([("USER32", "GetAncestor"), ("USER32", "CreateWindowExA"), ("COMCTL32", "#17")],
                         check_imports.parse_objdump(OBJDUMP))

    def test_a_program_without_imports_is_an_error(self):
        self.assertEqual(2, self.check_list("\n")[0])


if __name__ == "__main__":
    unittest.main()
