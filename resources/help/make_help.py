#!/usr/bin/env python3
"""Dorvane's help compiler.

Turns the help's source text (dvn40.txt beside this script; its markup is
described in README.md) into the three forms the help is read in:

- dvn40.hlp, a help file in the WinHelp 4 format that Windows 95 to XP and
  Wine's winhlp32 open;
- dvn40.cnt, its contents file, the tree of the Help Topics window;
- dvn40.chm, an HTML Help file with the same topics, contents tree and
  index, for Windows Vista and later, which ship no WinHelp viewer; it is
  compiled by chmcmd (Free Pascal's HTML Help compiler, Debian package
  fp-utils) from pages, a contents tree, an index and a project written
  here;
- help.md, the same text as Markdown, to be read in the repository.

    python3 make_help.py SOURCE --hlp OUT.hlp --cnt OUT.cnt --chm OUT.chm --md OUT.md

Only the Python standard library is used. The output depends only on the
source, except for the date stamped into the help file: --date, else
SOURCE_DATE_EPOCH, else the source's modification time.

The help file is a small file system: a header, internal files, and a
directory of them kept as a B+ tree. The internal files written here are:

|SYSTEM    title, copyright, the contents topic, the main window, macros
|TOPIC     the topics: a topic header, then one record per paragraph
|FONT      the fonts the paragraphs switch between
|CONTEXT   context-string hash -> topic (jumps, the contents file)
|CTXOMAP   context number -> topic (WinHelp's HELP_CONTEXT)
|TTLBTREE  topic -> title (history, search results)
|KWBTREE   keyword -> count and place in |KWDATA (the index)
|KWDATA    the topics of each keyword
|KWMAP     where the n-th keyword's leaf page is, for scrolling the index

Two kinds of address point into |TOPIC. A TOPICPOS names the byte where a
topic record starts: its block's number times 0x4000, plus 12, plus the
record's place in the block's expanded data. A TOPICOFFSET names a place
in the text: the block's number times 0x8000, plus the number of text
characters of the records before it in that block. |CONTEXT, |CTXOMAP,
|TTLBTREE, |KWDATA and the contents record hold TOPICOFFSETs.

|TOPIC is cut into 4096-byte blocks, each a 12-byte header and LZ77 data.
The data are written as literals only: no byte is saved, but the blocks
then read the same in every reader. (Without the LZ77 flag, readers
disagree on how a TOPICPOS names a block.) No record crosses a block's
end; the rest of a block is filled with zero bytes.
"""

import argparse
import html
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

ENCODING = "cp1252"   # the help's text is ANSI, Western European

# ---------------------------------------------------------------------------
# The source
# ---------------------------------------------------------------------------


class SourceError(Exception):
    """A fault in the source, with the line where it is."""

    def __init__(self, line, message):
        super().__init__(f"line {line}: {message}" if line else message)
        self.line = line


class Span:
    """A piece of a paragraph's text: plain, bold, or a jump to a topic."""

    def __init__(self, kind, text, target=None):
        self.kind = kind        # "text", "bold" or "link"
        self.text = text
        self.target = target    # context string of a link

    def __repr__(self):
        return f"Span({self.kind!r}, {self.text!r}, {self.target!r})"


class Block:
    """A paragraph: its kind ("para", "heading", "bullet", "step", or
    "example", whose lines stay as they are) and its spans."""

    def __init__(self, kind, spans, line, number=None):
        self.kind = kind
        self.spans = spans
        self.line = line
        self.number = number    # the step's number

    def plain(self):
        return "".join(span.text for span in self.spans)

    def lines(self):
        """An example's lines."""
        return self.plain().split("\n")


class Topic:
    def __init__(self, context, title, line):
        self.context = context
        self.title = title
        self.line = line
        self.keywords = []
        self.map_ids = []
        self.book = None
        self.blocks = []


class HelpSource:
    def __init__(self):
        self.title = None
        self.copyright = ""
        self.contents = None      # context string of the contents topic
        self.cnt_name = None      # file name of the contents file
        self.topics = []
        self.books = []           # in the order of their first topic

    def topic(self, context):
        for topic in self.topics:
            if topic.context == context:
                return topic
        return None


CONTEXT_RE = re.compile(r"^[A-Za-z0-9_.]+$")
LINK_RE = re.compile(r"\[([^\]]+)\]\(([^)]*)\)")


def parse_inline(text, line):
    """Splits a paragraph's text into spans: *bold*, [text](context) and
    plain text; a backslash takes the next character literally."""
    spans = []
    plain = []
    i = 0

    def flush():
        if plain:
            spans.append(Span("text", "".join(plain)))
            plain.clear()

    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            plain.append(text[i + 1])
            i += 2
        elif c == "*":
            bold = []
            i += 1
            while i < len(text) and text[i] != "*":
                if text[i] == "\\" and i + 1 < len(text):
                    i += 1
                bold.append(text[i])
                i += 1
            if i >= len(text):
                raise SourceError(line, "a '*' that starts bold text has no closing '*'")
            if not bold:
                raise SourceError(line, "empty bold text '**'")
            flush()
            spans.append(Span("bold", "".join(bold)))
            i += 1
        elif c == "[":
            match = LINK_RE.match(text, i)
            if not match:
                raise SourceError(line, "a '[' that is not a link [text](context)")
            flush()
            spans.append(Span("link", match.group(1), match.group(2)))
            i = match.end()
        else:
            plain.append(c)
            i += 1
    flush()
    return spans


def parse_source(text):
    """Reads the help's source text into a HelpSource; raises SourceError."""
    source = HelpSource()
    topic = None
    book = None
    pending = None          # [kind, lines, first line number, step number]

    def end_block():
        nonlocal pending
        if pending is None:
            return
        kind, lines, first, number = pending
        if kind == "example":
            spans = [Span("text", "\n".join(lines))]
        else:
            spans = parse_inline(" ".join(part.strip() for part in lines), first)
        topic.blocks.append(Block(kind, spans, first, number))
        pending = None

    for number, raw in enumerate(text.splitlines(), start=1):
        line = raw.rstrip()
        if line.startswith(";"):
            continue
        if line.startswith("@"):
            end_block()
            word, _, rest = line[1:].partition(" ")
            rest = rest.strip()
            if word == "topic":
                context, _, title = rest.partition(" ")
                title = title.strip()
                if not CONTEXT_RE.match(context):
                    raise SourceError(number, f"context string {context!r} may hold only "
                                      "letters, digits, '_' and '.'")
                if not title:
                    raise SourceError(number, f"topic {context} has no title")
                if any(t.context.lower() == context.lower() for t in source.topics):
                    raise SourceError(number, f"context string {context} is used twice")
                topic = Topic(context, title, number)
                topic.book = book
                source.topics.append(topic)
            elif word == "book":
                if not rest:
                    raise SourceError(number, "@book needs a title")
                book = rest
                if book not in source.books:
                    source.books.append(book)
            elif word == "title" and topic is None:
                source.title = rest
            elif word == "copyright" and topic is None:
                source.copyright = rest
            elif word == "contents" and topic is None:
                source.contents = rest
            elif word == "cnt" and topic is None:
                source.cnt_name = rest
            elif word == "keywords" and topic is not None:
                for keyword in rest.split(";"):
                    keyword = keyword.strip()
                    if keyword:
                        topic.keywords.append((keyword, number))
            elif word == "map" and topic is not None:
                for value in rest.split():
                    if not value.isdigit():
                        raise SourceError(number, f"context number {value!r} is not a number")
                    topic.map_ids.append((int(value), number))
            else:
                raise SourceError(number, f"unknown or misplaced @{word}")
            continue
        if topic is None:
            if line.strip():
                raise SourceError(number, "text before the first @topic")
            continue
        if not line.strip():
            end_block()
        elif line.startswith("## "):
            end_block()
            pending = ["heading", [line[3:]], number, None]
            end_block()
        elif line.startswith("- "):
            end_block()
            pending = ["bullet", [line[2:]], number, None]
        elif re.match(r"^\d+\. ", line):
            end_block()
            digits, _, rest = line.partition(". ")
            pending = ["step", [rest], number, int(digits)]
        elif line.startswith("  ") and pending is not None and pending[0] in ("bullet", "step"):
            pending[1].append(line)
        elif line.startswith("    ") and (pending is None or pending[0] == "example"):
            if pending is None:
                pending = ["example", [], number, None]
            pending[1].append(line[4:])
        else:
            if pending is not None and pending[0] != "para":
                end_block()
            if pending is None:
                pending = ["para", [], number, None]
            pending[1].append(line)
    end_block()
    check_source(source)
    return source


def check_source(source):
    """The rules that make every part of the help reachable and readable."""
    if not source.title:
        raise SourceError(None, "the source has no @title")
    if not source.topics:
        raise SourceError(None, "the source has no @topic")
    if source.contents is None:
        source.contents = source.topics[0].context
    if source.topic(source.contents) is None:
        raise SourceError(None, f"the contents topic {source.contents} does not exist")
    contexts = {topic.context for topic in source.topics}
    maps = {}
    keywords = {}
    for topic in source.topics:
        if not topic.blocks:
            raise SourceError(topic.line, f"topic {topic.context} has no text")
        for block in topic.blocks:
            for span in block.spans:
                if span.kind == "link" and span.target not in contexts:
                    raise SourceError(block.line, f"link to unknown topic {span.target!r}")
        for value, line in topic.map_ids:
            if value in maps:
                raise SourceError(line, f"context number {value} already names topic "
                                  f"{maps[value]}")
            maps[value] = topic.context
        for keyword, line in topic.keywords:
            # Wine's viewer can open an index entry only when it names one
            # topic; WinHelp would offer a choice. So each names one topic.
            other = keywords.get(keyword.lower())
            if other is not None:
                raise SourceError(line, f"keyword {keyword!r} already names topic {other}")
            keywords[keyword.lower()] = topic.context
    for topic in source.topics:
        for text in [topic.title] + [k for k, _ in topic.keywords] + \
                [b.plain() for b in topic.blocks]:
            try:
                text.encode(ENCODING)
            except UnicodeEncodeError as error:
                raise SourceError(topic.line, f"{text[error.start]!r} in topic {topic.context} "
                                  "has no place in the ANSI code page")


# ---------------------------------------------------------------------------
# Numbers as the help file stores them
# ---------------------------------------------------------------------------

NONE32 = 0xFFFFFFFF


def u16(value):
    return struct.pack("<H", value)


def u32(value):
    return struct.pack("<I", value & 0xFFFFFFFF)


def cstring(text):
    return text.encode(ENCODING) + b"\0"


def compressed_short(value):
    """Signed, one byte for -64..63, else two."""
    if -64 <= value <= 63:
        return bytes([(value + 64) * 2])
    if not -16384 <= value <= 16383:
        raise ValueError(f"{value} does not fit a compressed short")
    return u16((value + 16384) * 2 + 1)


def compressed_ushort(value):
    """Unsigned, one byte below 128, else two."""
    if value < 128:
        return bytes([value * 2])
    if value >= 32768:
        raise ValueError(f"{value} does not fit a compressed unsigned short")
    return u16(value * 2 + 1)


def compressed_long(value):
    """Signed, two bytes for -16384..16383, else four."""
    if -16384 <= value <= 16383:
        return u16((value + 16384) * 2)
    return u32((value + 0x40000000) * 2 + 1)


def context_hash(context):
    """The hash by which |CONTEXT and the jumps name a context string."""
    value = 0
    for c in context:
        if "A" <= c.upper() <= "Z":
            digit = ord(c.upper()) - ord("A") + 17
        elif "1" <= c <= "9":
            digit = ord(c) - ord("0")
        elif c == "0":
            digit = 10
        elif c == ".":
            digit = 12
        elif c == "_":
            digit = 13
        else:
            raise ValueError(f"{c!r} has no place in a context string")
        value = (value * 43 + digit) & 0xFFFFFFFF
    return value


def signed32(value):
    return value - 0x100000000 if value & 0x80000000 else value


# ---------------------------------------------------------------------------
# B+ trees
# ---------------------------------------------------------------------------

BTREE_MAGIC = 0x293B


def btree(entries, page_size, structure, directory=False):
    """A B+ tree of sorted entries, each (index key, leaf record): the leaf
    record is what a leaf page holds, the index key what an index page
    holds to lead to the page that starts with it (the key's bytes without
    the page number). Leaves are pages 0..n-1 in order, index pages follow,
    the root is the last page."""
    pages = []          # bytes of each page, in page-number order
    leaf_room = page_size - 8
    leaves = []         # [first key, records]
    for key, record in entries:
        if len(record) > leaf_room:
            raise ValueError("a B+ tree entry is larger than a page")
        if not leaves or sum(map(len, leaves[-1][1])) + len(record) > leaf_room:
            leaves.append([key, []])
        leaves[-1][1].append(record)
    if not leaves:
        leaves.append([b"", []])
    count = len(leaves)
    for number, (_, records) in enumerate(leaves):
        body = b"".join(records)
        previous = number - 1 if number > 0 else 0xFFFF
        following = number + 1 if number + 1 < count else 0xFFFF
        page = struct.pack("<HhHH", leaf_room - len(body), len(records), previous,
                           following) + body
        pages.append(page.ljust(page_size, b"\0"))

    # Each level of index pages leads to the pages of the level below.
    level = [(key, number) for number, (key, _) in enumerate(leaves)]
    levels = 1
    index_room = page_size - 6
    while len(level) > 1:
        levels += 1
        groups = []     # [first key, first child, [(key, child)...]]
        for key, child in level:
            entry = key + u16(child)
            if groups and sum(len(k) + 2 for k, _ in groups[-1][2]) + len(entry) <= index_room:
                groups[-1][2].append((key, child))
            else:
                groups.append([key, child, []])
        upper = []
        for first_key, first_child, rest in groups:
            body = b"".join(k + u16(c) for k, c in rest)
            page = struct.pack("<HhH", index_room - len(body), len(rest), first_child) + body
            upper.append((first_key, len(pages)))
            pages.append(page.ljust(page_size, b"\0"))
        level = upper

    flags = 0x0002 | (0x0400 if directory else 0)
    header = struct.pack("<HHH16shhhhhhI", BTREE_MAGIC, flags, page_size,
                         structure.encode("ascii"), 0, 0, len(pages) - 1, -1,
                         len(pages), levels, len(entries))
    return header + b"".join(pages), leaves


def internal_file(data):
    """The header that every internal file starts with: the space reserved
    for it, the space it uses, and its flags."""
    return struct.pack("<IIB", len(data) + 9, len(data), 4) + data


def container(files):
    """The whole help file: header, the internal files, then the directory."""
    body = bytearray()
    offsets = {}
    for name in sorted(files):
        offsets[name] = 16 + len(body)
        body += internal_file(files[name])
    names = sorted(offsets, key=lambda n: n.encode("ascii"))
    directory, _ = btree([(n.encode("ascii") + b"\0", n.encode("ascii") + b"\0" + u32(offsets[n]))
                          for n in names], 0x400, "z4", directory=True)
    directory_at = 16 + len(body)
    body += internal_file(directory)
    return struct.pack("<IIiI", 0x00035F3F, directory_at, -1, 16 + len(body)) + bytes(body)


# ---------------------------------------------------------------------------
# Fonts and paragraph layout
# ---------------------------------------------------------------------------

# (face, half points, bold, colour); the index is the font number.
FONTS = [
    ("Arial", 20, False, (0, 0, 0)),        # body text
    ("Arial", 20, True, (0, 0, 0)),         # bold body text
    ("Arial", 28, True, (0, 0, 128)),       # a topic's heading
    ("Arial", 22, True, (0, 0, 0)),         # a section's heading
    ("Courier New", 20, False, (0, 0, 0)),  # an example, as the screen or a file shows it
]
FONT_BODY, FONT_BOLD, FONT_TITLE, FONT_HEADING, FONT_EXAMPLE = range(5)

FAMILY_MODERN, FAMILY_SWISS = 1, 3
FACE_SIZE = 32

# Paragraph layout, in half points.
SPACE_BELOW = 12
TITLE_BELOW = 18
HEADING_ABOVE = 12
LIST_INDENT = 40
LIST_HANG = -28


def font_file():
    faces = []
    for face, _, _, _ in FONTS:
        if face not in faces:
            faces.append(face)
    data = struct.pack("<HHHH", len(faces), len(FONTS), 8, 8 + FACE_SIZE * len(faces))
    for face in faces:
        data += face.encode("ascii").ljust(FACE_SIZE, b"\0")
    for face, half_points, bold, colour in FONTS:
        family = FAMILY_MODERN if face == "Courier New" else FAMILY_SWISS
        data += struct.pack("<BBBH", 1 if bold else 0, half_points, family,
                            faces.index(face)) + bytes(colour) + bytes((255, 255, 255))
    return data


# Formatting commands of a paragraph record.
CMD_FONT = 0x80
CMD_LINE = 0x81
CMD_PARAGRAPH = 0x82
CMD_TAB = 0x83
CMD_HOTSPOT_END = 0x89
CMD_JUMP = 0xE3
CMD_END = 0xFF


def paragraph_record(block):
    """LinkData1 (the layout and commands) and LinkData2 (the text) of the
    record of one paragraph. Each text string of LinkData2 is followed by
    one command; the last, 0xFF, ends the record."""
    bits = 0
    layout = b""
    texts = []
    commands = []

    def put(text, command):
        texts.append(text.encode(ENCODING) + b"\0")
        commands.append(command)

    if block.kind == "heading":
        above, below, font = HEADING_ABOVE, SPACE_BELOW // 2, FONT_HEADING
    elif block.kind == "title":
        above, below, font = 0, TITLE_BELOW, FONT_TITLE
    elif block.kind == "example":
        above, below, font = 0, SPACE_BELOW, FONT_EXAMPLE
    else:
        above, below, font = 0, SPACE_BELOW, FONT_BODY
    if above:
        bits |= 0x0002
        layout += compressed_short(above)
    bits |= 0x0004
    layout += compressed_short(below)
    if block.kind in ("bullet", "step"):
        bits |= 0x0010 | 0x0040 | 0x0200
        layout += compressed_short(LIST_INDENT) + compressed_short(LIST_HANG)
        layout += compressed_short(1) + compressed_ushort(LIST_INDENT)

    put("", bytes([CMD_FONT]) + u16(font))
    if block.kind == "bullet":
        put("\u2022", bytes([CMD_TAB]))
    elif block.kind == "step":
        put(f"{block.number}.", bytes([CMD_TAB]))
    if block.kind == "example":
        lines = block.lines()
        for text in lines[:-1]:
            put(text, bytes([CMD_LINE]))
        put(lines[-1], b"")
    for span in (block.spans if block.kind != "example" else []):
        if span.kind == "bold":
            put("", bytes([CMD_FONT]) + u16(FONT_BOLD))
            put(span.text, bytes([CMD_FONT]) + u16(font))
        elif span.kind == "link":
            put("", bytes([CMD_JUMP]) + u32(context_hash(span.target)))
            put(span.text, bytes([CMD_HOTSPOT_END]))
        else:
            put(span.text, b"")
    # Merge each plain string into the next one: a string needs a command
    # after it only where the text changes its look.
    merged_texts, merged_commands = [], []
    carry = b""
    for text, command in zip(texts, commands):
        carry += text[:-1]
        if command:
            merged_texts.append(carry + b"\0")
            merged_commands.append(command)
            carry = b""
    merged_texts.append(carry + b"\0")
    merged_commands.append(bytes([CMD_PARAGRAPH]))
    merged_texts.append(b"\0")
    merged_commands.append(bytes([CMD_END]))

    data2 = b"".join(merged_texts)
    # TopicSize, then TopicLength: the characters of the record, NULs
    # included, which is what a TOPICOFFSET counts.
    head = compressed_long(len(data2)) + compressed_ushort(len(data2))
    data1 = head + b"\x00\x80" + u16(0) + u16(bits) + layout + b"".join(merged_commands)
    return data1, data2


# ---------------------------------------------------------------------------
# |TOPIC
# ---------------------------------------------------------------------------

TOPIC_BLOCK = 4096
BLOCK_HEADER = 12
BLOCK_ROOM = TOPIC_BLOCK - BLOCK_HEADER
LITERAL_ROOM = (BLOCK_ROOM // 9) * 8     # expanded bytes that fit one block
LINK_HEADER = 21
RECORD_TOPIC, RECORD_TEXT = 0x02, 0x20


class Link:
    """One record of |TOPIC as laid out: where it is and what it holds."""

    def __init__(self, kind, data1, data2, topic):
        self.kind = kind
        self.data1 = data1
        self.data2 = data2
        self.topic = topic          # index of the topic it belongs to
        self.block = self.start = None
        self.pos = None             # TOPICPOS
        self.offset = None          # TOPICOFFSET of its first character

    @property
    def size(self):
        return LINK_HEADER + len(self.data1) + len(self.data2)


def topic_pos(block, start):
    return block * 0x4000 + BLOCK_HEADER + start


def literal_lz77(data):
    """LZ77 data that copies every byte as it is: a flag byte of zeros
    before every eight bytes."""
    out = bytearray()
    for i in range(0, len(data), 8):
        out.append(0)
        out += data[i:i + 8]
    return bytes(out)


class TopicLayout:
    """The topics laid out into |TOPIC, with the offsets the other internal
    files point to."""

    def __init__(self, source):
        self.source = source
        self.links = []
        self.headers = []           # the topic-header link of each topic
        for number, topic in enumerate(source.topics):
            header = Link(RECORD_TOPIC, bytes(28), cstring(topic.title), number)
            self.headers.append(header)
            self.links.append(header)
            for block in [Block("title", [Span("text", topic.title)], topic.line)] + topic.blocks:
                data1, data2 = paragraph_record(block)
                self.links.append(Link(RECORD_TEXT, data1, data2, number))
        self.place()
        self.fill_headers()

    def place(self):
        block, used, characters = 0, 0, 0
        for link in self.links:
            if link.size > LITERAL_ROOM:
                raise SourceError(None, f"a paragraph of topic "
                                  f"{self.source.topics[link.topic].context} is too long "
                                  f"({link.size} bytes); split it")
            if used + link.size > LITERAL_ROOM:
                block, used, characters = block + 1, 0, 0
            link.block, link.start = block, used
            link.pos = topic_pos(block, used)
            link.offset = block * 0x8000 + characters
            used += link.size
            if link.kind == RECORD_TEXT:
                characters += len(link.data2)
        self.block_count = block + 1

    def topic_offset(self, number):
        return self.headers[number].offset

    def fill_headers(self):
        count = len(self.headers)
        for number, header in enumerate(self.headers):
            first = self.links.index(header)
            following = self.headers[number + 1] if number + 1 < count else None
            end = self.links.index(following) if following else len(self.links)
            members = self.links[first:end]
            scroll = members[1].pos if len(members) > 1 else NONE32
            back = self.headers[number - 1].offset if number > 0 else NONE32
            forth = following.offset if following else NONE32
            header.data1 = (u32(sum(link.size for link in members)) + u32(back) + u32(forth) +
                            u32(number) + u32(NONE32) + u32(scroll) +
                            u32(following.pos if following else NONE32))

    def data(self):
        blocks = [bytearray() for _ in range(self.block_count)]
        for index, link in enumerate(self.links):
            previous = self.links[index - 1].pos if index > 0 else NONE32
            following = self.links[index + 1].pos if index + 1 < len(self.links) else NONE32
            record = (u32(link.size) + u32(len(link.data2)) + u32(previous) + u32(following) +
                      u32(LINK_HEADER + len(link.data1)) + bytes([link.kind]) +
                      link.data1 + link.data2)
            assert len(blocks[link.block]) == link.start
            blocks[link.block] += record
        out = bytearray()
        for number, expanded in enumerate(blocks):
            before = [link for link in self.links if link.block < number]
            first = next(link for link in self.links if link.block == number)
            last_link = before[-1].pos if before else NONE32
            headers_before = [h for h in self.headers if h.block < number]
            last_header = headers_before[-1].pos if headers_before else NONE32
            packed = literal_lz77(bytes(expanded))
            out += u32(last_link) + u32(first.pos) + u32(last_header)
            out += packed.ljust(BLOCK_ROOM, b"\0")
        return bytes(out)


# ---------------------------------------------------------------------------
# The help file
# ---------------------------------------------------------------------------

SYSTEM_MAGIC = 0x036C
WINHELP4_MINOR = 33
FLAG_LZ77_4K = 4


def system_file(source, layout, date):
    def record(kind, data):
        return u16(kind) + u16(len(data)) + data

    contents = layout.topic_offset(source.topics.index(source.topic(source.contents)))
    # The main window, named so that its caption is the help's title.
    window = (u16(0x0002 | 0x0004) + bytes(10) + b"main".ljust(9, b"\0") +
              source.title.encode(ENCODING)[:50].ljust(51, b"\0") + bytes(10) +
              u32(0xFFFFFF) + u32(0xFFFFFF))
    assert len(window) == 90
    data = struct.pack("<HHHIH", SYSTEM_MAGIC, WINHELP4_MINOR, 1, date, FLAG_LZ77_4K)
    data += record(1, cstring(source.title))
    data += record(2, cstring(source.copyright))
    data += record(3, u32(contents))
    data += record(4, cstring("BrowseButtons()"))
    data += record(6, window)
    if source.cnt_name:
        data += record(10, cstring(source.cnt_name))
    return data


def keyword_files(source, layout):
    entries = []    # (sort key, keyword bytes, topic offsets)
    for number, topic in enumerate(source.topics):
        for keyword, _ in topic.keywords:
            entries.append((keyword.lower(), keyword.encode(ENCODING), [layout.topic_offset(number)]))
    entries.sort()
    kwdata = b""
    records = []
    for _, keyword, offsets in entries:
        records.append((keyword + b"\0", keyword + b"\0" + u16(len(offsets)) + u32(len(kwdata))))
        kwdata += b"".join(u32(offset) for offset in offsets)
    tree, leaves = btree(records, 0x800, "F24")
    kwmap = b""
    first = 0
    for page, (_, leaf_records) in enumerate(leaves):
        kwmap += u32(first) + u16(page)
        first += len(leaf_records)
    return tree, kwdata, kwmap


def help_file(source, date=0):
    layout = TopicLayout(source)
    contexts = sorted(((signed32(context_hash(t.context)), layout.topic_offset(n))
                       for n, t in enumerate(source.topics)))
    for (a, _), (b, _) in zip(contexts, contexts[1:]):
        if a == b:
            raise SourceError(None, "two context strings have the same hash")
    context_tree, _ = btree([(struct.pack("<i", h), struct.pack("<iI", h, offset))
                             for h, offset in contexts], 0x800, "L4")
    maps = sorted((value, layout.topic_offset(n))
                  for n, t in enumerate(source.topics) for value, _ in t.map_ids)
    ctxomap = u16(len(maps)) + b"".join(u32(v) + u32(o) for v, o in maps)
    titles, _ = btree([(u32(layout.topic_offset(n)), u32(layout.topic_offset(n)) + cstring(t.title))
                       for n, t in enumerate(source.topics)], 0x800, "Lz")
    kwbtree, kwdata, kwmap = keyword_files(source, layout)
    files = {
        "|SYSTEM": system_file(source, layout, date),
        "|TOPIC": layout.data(),
        "|FONT": font_file(),
        "|CONTEXT": context_tree,
        "|CTXOMAP": ctxomap,
        "|TTLBTREE": titles,
        "|KWBTREE": kwbtree,
        "|KWDATA": kwdata,
        "|KWMAP": kwmap,
    }
    return container(files)


# ---------------------------------------------------------------------------
# The HTML Help file
# ---------------------------------------------------------------------------
#
# One page per topic, named after its context string, a contents tree
# (.hhc) that has the shape of the .cnt file, an index (.hhk) with one entry
# per keyword, and a project (.hhp) that chmcmd compiles. The project has
# no [ALIAS] and [MAP]: chmcmd 3.2.2 stores an alias's target as the full
# path of the page on the build machine (the .hhp's folder followed by the
# name), which no viewer finds inside the .chm. The program maps its one
# context number to the page's name itself (chm_page_name), and opens it
# as a topic.

CHM_WINDOW = "main"
# A window with the navigation pane (HHWIN_PROP_TRI_PANE) that follows the
# topic shown (HHWIN_PROP_AUTO_SYNC). Not HHWIN_PROP_CHANGE_TITLE: the
# caption stays the help's title whatever topic is shown.
CHM_NAV_STYLE = 0x20 | 0x100
# Hide/Show, Back, Forward, Home, Locate, Options and Print.
CHM_BUTTONS = 0x2 | 0x4 | 0x8 | 0x40 | 0x800 | 0x1000 | 0x2000


def chm_page_name(context):
    """The page of the topic with this context string, inside the .chm."""
    return context.lower() + ".htm"


def render_spans(block, escape, bold, link):
    """A paragraph's text in another markup: each span escaped, then bold
    text through bold(text) and jumps through link(text, context)."""
    out = []
    for span in block.spans:
        text = escape(span.text)
        if span.kind == "bold":
            out.append(bold(text))
        elif span.kind == "link":
            out.append(link(text, span.target))
        else:
            out.append(text)
    return "".join(out)


def html_text(text):
    return html.escape(text, quote=True)


def html_page(source, topic):
    """A topic as an HTML page in the ANSI code page."""
    def spans(block):
        return render_spans(block, html_text, lambda text: f"<b>{text}</b>",
                            lambda text, target: f'<a href="{chm_page_name(target)}">{text}</a>')

    out = ['<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01//EN">', "<html>", "<head>",
           '<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">',
           f"<title>{html_text(topic.title)}</title>",
           "<style>body { font-family: Tahoma, 'MS Sans Serif', sans-serif; font-size: 10pt }"
           " h1 { font-size: 13pt } h2 { font-size: 11pt } pre { font-size: 9pt }</style>",
           "</head>", "<body>", f"<h1>{html_text(topic.title)}</h1>"]
    open_list = None
    for block in topic.blocks:
        kind = {"bullet": "ul", "step": "ol"}.get(block.kind)
        if open_list and kind != open_list:
            out.append(f"</{open_list}>")
            open_list = None
        if kind and not open_list:
            out.append("<ul>" if kind == "ul" else f'<ol start="{block.number}">')
            open_list = kind
        if block.kind == "heading":
            out.append(f"<h2>{spans(block)}</h2>")
        elif kind == "ol":
            out.append(f'<li value="{block.number}">{spans(block)}</li>')
        elif kind == "ul":
            out.append(f"<li>{spans(block)}</li>")
        elif block.kind == "example":
            out.append("<pre>" + "\n".join(html_text(line) for line in block.lines()) + "</pre>")
        else:
            out.append(f"<p>{spans(block)}</p>")
    if open_list:
        out.append(f"</{open_list}>")
    out += ["</body>", "</html>"]
    return ("\r\n".join(out) + "\r\n").encode(ENCODING)


def sitemap_entry(name, page=None):
    params = f'<param name="Name" value="{html_text(name)}">'
    if page:
        params += f'<param name="Local" value="{page}">'
    return f'<li><object type="text/sitemap">{params}</object>'


def sitemap(lines):
    return ("\r\n".join(['<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">', "<html>", "<head>",
                         "</head>", "<body>", '<object type="text/site properties">'
                         '<param name="ImageType" value="Folder"></object>', "<ul>"]
                        + lines + ["</ul>", "</body>", "</html>"]) + "\r\n").encode(ENCODING)


def html_contents(source):
    """The contents tree, shaped as the .cnt file: the topics outside a
    book first, then each book with its topics."""
    lines = [sitemap_entry(t.title, chm_page_name(t.context))
             for t in source.topics if t.book is None]
    for book in source.books:
        lines += [sitemap_entry(book), "<ul>"]
        lines += [sitemap_entry(t.title, chm_page_name(t.context))
                  for t in source.topics if t.book == book]
        lines.append("</ul>")
    return sitemap(lines)


def html_index(source):
    """The index: each keyword once, naming its one topic."""
    entries = sorted((k.lower(), k, t) for t in source.topics for k, _ in t.keywords)
    return sitemap([sitemap_entry(keyword, chm_page_name(topic.context))
                    for _, keyword, topic in entries])


def html_project(source, chm_name, base):
    pages = [chm_page_name(t.context) for t in source.topics]
    default = chm_page_name(source.contents)
    window = (f'{CHM_WINDOW}="{source.title}","{base}.hhc","{base}.hhk","{default}",'
              f'"{default}",,,,,0x{CHM_NAV_STYLE:x},240,0x{CHM_BUTTONS:x},'
              "[120,60,820,620],,,,,,,0")
    lines = ["[OPTIONS]", "Compatibility=1.1 or later", f"Compiled file={chm_name}",
             f"Contents file={base}.hhc", f"Index file={base}.hhk",
             f"Default topic={default}", f"Default Window={CHM_WINDOW}",
             "Display compile progress=No", "Language=0x409 English (United States)",
             f"Title={source.title}", "", "[WINDOWS]", window, "", "[FILES]"] + pages
    return ("\r\n".join(lines) + "\r\n").encode(ENCODING)


class CompilerError(Exception):
    """chmcmd missing, failing, or writing no file."""


def html_help_file(source, chm_name, chmcmd="chmcmd"):
    """The .chm's bytes, compiled by chmcmd in a folder of its own."""
    compiler = shutil.which(chmcmd)
    if compiler is None:
        raise CompilerError(f"{chmcmd} not found: it comes with the Debian package fp-utils")
    base = os.path.splitext(chm_name)[0]
    with tempfile.TemporaryDirectory(prefix="dorvane-chm-") as work:
        files = {f"{base}.hhp": html_project(source, chm_name, base),
                 f"{base}.hhc": html_contents(source),
                 f"{base}.hhk": html_index(source)}
        for topic in source.topics:
            files[chm_page_name(topic.context)] = html_page(source, topic)
        for name, data in files.items():
            with open(os.path.join(work, name), "wb") as f:
                f.write(data)
        result = subprocess.run([compiler, "--no-html-scan", f"{base}.hhp"], cwd=work,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        output = os.path.join(work, chm_name)
        log = result.stdout.decode("utf-8", "replace")
        # chmcmd reports a faulty project on its output and may still end
        # with 0, so its words count as much as its exit code.
        if result.returncode != 0 or not os.path.exists(output) or \
                re.search(r"corrupt|error", log, re.I):
            raise CompilerError(f"{chmcmd} failed:\n{log}")
        with open(output, "rb") as f:
            return f.read()


# ---------------------------------------------------------------------------
# The contents file and the Markdown page
# ---------------------------------------------------------------------------

def contents_file(source, hlp_name):
    """The Help Topics window's tree: the contents topic first, then a book
    for each @book with its topics."""
    lines = [f":Base {hlp_name}>main", f":Title {source.title}"]
    for topic in source.topics:
        if topic.book is None:
            lines.append(f"1 {topic.title}={topic.context}")
    for book in source.books:
        lines.append(f"1 {book}")
        for topic in source.topics:
            if topic.book == book:
                lines.append(f"2 {topic.title}={topic.context}")
    return ("\r\n".join(lines) + "\r\n").encode(ENCODING)


def markdown_escape(text):
    return re.sub(r"([\\`*_\[\]<>#|])", r"\\\1", text)


def markdown(source, source_name):
    def spans(block):
        return render_spans(block, markdown_escape, lambda text: f"**{text}**",
                            lambda text, target: f"[{text}](#{target.lower()})")

    out = [f"# {markdown_escape(source.title)}", "",
           f"<!-- Made by resources/help/make_help.py from {source_name}: "
           "edit that file, not this one. -->", "", "## Contents", ""]
    for topic in source.topics:
        if topic.book is None:
            out.append(f"- [{markdown_escape(topic.title)}](#{topic.context.lower()})")
    for book in source.books:
        out.append(f"- {markdown_escape(book)}")
        for topic in source.topics:
            if topic.book == book:
                out.append(f"  - [{markdown_escape(topic.title)}](#{topic.context.lower()})")
    for topic in source.topics:
        out += ["", f'<a id="{topic.context.lower()}"></a>', "",
                f"## {markdown_escape(topic.title)}", ""]
        previous = None
        for block in topic.blocks:
            listed = block.kind in ("bullet", "step")
            if previous is not None and not (listed and previous == block.kind):
                out.append("")
            if block.kind == "heading":
                out += [f"### {spans(block)}"]
            elif block.kind == "bullet":
                out.append(f"- {spans(block)}")
            elif block.kind == "step":
                out.append(f"{block.number}. {spans(block)}")
            elif block.kind == "example":
                out += ["    " + line for line in block.lines()]
            else:
                out.append(spans(block))
            previous = block.kind
    out += ["", "## Index", ""]
    entries = sorted((k.lower(), k, t) for t in source.topics for k, _ in t.keywords)
    for _, keyword, topic in entries:
        out.append(f"- {markdown_escape(keyword)}: [{markdown_escape(topic.title)}]"
                   f"(#{topic.context.lower()})")
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------------------

def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("source")
    parser.add_argument("--hlp", help="the help file to write")
    parser.add_argument("--cnt", help="the contents file to write")
    parser.add_argument("--chm", help="the HTML Help file to write (needs chmcmd)")
    parser.add_argument("--chmcmd", default="chmcmd", help="the HTML Help compiler to run")
    parser.add_argument("--md", help="the Markdown page to write")
    parser.add_argument("--date", type=int,
                        help="the help file's date, seconds since 1970 (default: "
                        "SOURCE_DATE_EPOCH, else the source's modification time)")
    args = parser.parse_args(argv)
    with open(args.source, encoding="utf-8") as f:
        text = f.read()
    try:
        source = parse_source(text)
        date = args.date
        if date is None:
            date = int(os.environ.get("SOURCE_DATE_EPOCH", os.path.getmtime(args.source)))
        if args.cnt and not source.cnt_name:
            source.cnt_name = os.path.basename(args.cnt)
        outputs = {}
        if args.hlp:
            outputs[args.hlp] = help_file(source, date)
        if args.cnt:
            outputs[args.cnt] = contents_file(source, os.path.basename(args.hlp or "help.hlp"))
        if args.chm:
            outputs[args.chm] = html_help_file(source, os.path.basename(args.chm),
                                                 args.chmcmd)
        if args.md:
            name = os.path.basename(args.source)
            outputs[args.md] = markdown(source, f"resources/help/{name}").encode("utf-8")
    except SourceError as error:
        print(f"{args.source}: {error}", file=sys.stderr)
        return 1
    except CompilerError as error:
        print(f"{args.source}: {error}", file=sys.stderr)
        return 1
    for path, data in outputs.items():
        with open(path, "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
