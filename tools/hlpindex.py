#!/usr/bin/env python3
"""Reads the keyword index of a WinHelp (.hlp) file.

    hlpindex.py FILE            prints every keyword, one a line (as UTF-8)

A .hlp file is a small file system: a directory B+ tree names internal
files such as |KWBTREE, the keyword B+ tree whose leaves hold the keyword
texts in the help file's ANSI code page (Windows-1252 here).
"""
import struct
import sys

HELP_MAGIC = 0x00035F3F
BTREE_MAGIC = 0x293B
FILE_HEADER_SIZE = 9  # reserved space, used space, flags
BTREE_HEADER_SIZE = 38


class HelpFormatError(Exception):
    pass


def _cstring(data, at):
    end = data.index(b"\0", at)
    return data[at:end], end + 1


def _btree_leaf_entries(data, offset, read_entry):
    """Yields the leaf entries of the B+ tree stored at offset (a file header
    followed by the tree header and its pages)."""
    base = offset + FILE_HEADER_SIZE
    (magic, _flags, page_size, _structure, _zero, _splits, root, _neg_one, total_pages, levels,
     _entries) = struct.unpack_from("<HHH16sHHhhhhl", data, base)
    if magic != BTREE_MAGIC:
        raise HelpFormatError("no B+ tree at offset %d" % offset)
    pages = base + BTREE_HEADER_SIZE

    def page_at(number):
        if not 0 <= number < total_pages:
            raise HelpFormatError("page %d out of range" % number)
        return pages + number * page_size

    page = root
    for _ in range(levels - 1):  # descend along the leftmost children
        _unused, _count, first_child = struct.unpack_from("<HHh", data, page_at(page))
        page = first_child
    seen = set()
    while page != -1:
        if page in seen:
            raise HelpFormatError("leaf pages form a loop")
        seen.add(page)
        start = page_at(page)
        _unused, count, _previous, following = struct.unpack_from("<HHhh", data, start)
        at = start + 8
        for _ in range(count):
            entry, at = read_entry(data, at)
            yield entry
        page = following


def _directory_entry(data, at):
    name, at = _cstring(data, at)
    (offset,) = struct.unpack_from("<l", data, at)
    return (name, offset), at + 4


def _keyword_entry(data, at):
    keyword, at = _cstring(data, at)
    return keyword, at + 2 + 4  # count of topics, offset into |KWDATA


def internal_files(data):
    magic, directory = struct.unpack_from("<Ll", data, 0)
    if magic != HELP_MAGIC:
        raise HelpFormatError("not a WinHelp file")
    return dict(_btree_leaf_entries(data, directory, _directory_entry))


def keywords(data):
    """The keywords of the K index, as bytes in the file's code page."""
    files = internal_files(data)
    if b"|KWBTREE" not in files:
        raise HelpFormatError("the help file has no keyword index")
    return list(_btree_leaf_entries(data, files[b"|KWBTREE"], _keyword_entry))


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with open(argv[1], "rb") as stream:
        data = stream.read()
    for keyword in keywords(data):
        print(keyword.decode("cp1252"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
