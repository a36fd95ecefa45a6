"""A reader of WinHelp 4 files for the tests of the help compiler.

It is written apart from the compiler and shares none of its code: it reads
a help file the way a viewer does, by walking B+ trees page by page,
expanding LZ77 topic blocks and following the chain of topic records, so
that a fault in how the compiler lays a structure out shows up as a wrong
answer here.
"""

import struct


class FormatError(Exception):
    pass


def u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def s16(data, at):
    return struct.unpack_from("<h", data, at)[0]


def u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


def s32(data, at):
    return struct.unpack_from("<i", data, at)[0]


def cstr(data, at):
    end = data.index(b"\0", at)
    return data[at:end], end + 1


def context_hash(name):
    """The hash of a context string as viewers compute it."""
    table = {}
    for i, c in enumerate("ABCDEFGHIJKLMNOPQRSTUVWXYZ"):
        table[c] = table[c.lower()] = 17 + i
    for i in range(1, 10):
        table[str(i)] = i
    table["0"], table["."], table["_"] = 10, 12, 13
    value = 0
    for c in name:
        value = (value * 43 + table[c]) % (1 << 32)
    return value


def lz77_expand(data):
    out = bytearray()
    i = 0
    while i < len(data):
        flags = data[i]
        i += 1
        for bit in range(8):
            if i >= len(data):
                break
            if flags & (1 << bit):
                code = u16(data, i)
                i += 2
                length, distance = (code >> 12) + 3, (code & 0xFFF) + 1
                for _ in range(length):
                    out.append(out[-distance])
            else:
                out.append(data[i])
                i += 1
    return bytes(out)


class BTree:
    """A B+ tree inside an internal file. Entries are parsed by a function
    that takes (page bytes, position, is_leaf) and returns (key, value,
    next position)."""

    def __init__(self, data, parse_entry):
        self.data = data
        (magic, self.flags, self.page_size, structure, zero, _splits, self.root, neg_one,
         self.total_pages, self.levels, self.entries) = struct.unpack_from("<HHH16shhhhhhI", data, 0)
        if magic != 0x293B:
            raise FormatError(f"B+ tree magic {magic:#x}")
        if zero != 0 or neg_one != -1:
            raise FormatError("B+ tree header's fixed fields are wrong")
        self.structure = structure.rstrip(b"\0").decode("ascii")
        self.parse_entry = parse_entry
        if 38 + self.total_pages * self.page_size > len(data):
            raise FormatError("B+ tree pages run past the end of their file")

    def page(self, number):
        if not 0 <= number < self.total_pages:
            raise FormatError(f"page {number} of {self.total_pages}")
        start = 38 + number * self.page_size
        return self.data[start:start + self.page_size]

    def _entries(self, page, leaf):
        count = s16(page, 2)
        at = 8 if leaf else 6
        out = []
        for _ in range(count):
            key, value, at = self.parse_entry(page, at, leaf)
            out.append((key, value))
        if u16(page, 0) != self.page_size - at:
            raise FormatError("a page's count of unused bytes is wrong")
        return out

    def first_leaf(self):
        number = self.root
        for _ in range(self.levels - 1):
            number = s16(self.page(number), 4)
        return number

    def leaf_pages(self):
        """The leaf pages in their chained order, each (number, entries)."""
        pages = []
        number, previous = self.first_leaf(), -1
        while number != -1:
            page = self.page(number)
            if s16(page, 4) != previous:
                raise FormatError("a leaf page's link to the previous one is wrong")
            pages.append((number, self._entries(page, True)))
            previous, number = number, s16(page, 6)
            if len(pages) > self.total_pages:
                raise FormatError("the chain of leaf pages loops")
        return pages

    def items(self):
        out = [entry for _, entries in self.leaf_pages() for entry in entries]
        if len(out) != self.entries:
            raise FormatError(f"{len(out)} entries in the leaves, {self.entries} in the header")
        return out

    def find(self, key, order=lambda k: k):
        """Searches from the root as a viewer does: in an index page, the
        child before the first key greater than the one sought."""
        number = self.root
        for _ in range(self.levels - 1):
            page = self.page(number)
            child = s16(page, 4)
            for entry_key, entry_child in self._entries(page, False):
                if order(entry_key) > order(key):
                    break
                child = entry_child
            number = child
        for entry_key, value in self._entries(self.page(number), True):
            if entry_key == key:
                return value
        return None


def _directory_entry(page, at, leaf):
    name, at = cstr(page, at)
    if leaf:
        return name.decode("ascii"), u32(page, at), at + 4
    return name.decode("ascii"), s16(page, at), at + 2


def _long_key(leaf_size):
    def parse(page, at, leaf):
        key = s32(page, at)
        if leaf:
            return key, u32(page, at + 4), at + leaf_size
        return key, s16(page, at + 4), at + 6
    return parse


def _title_entry(page, at, leaf):
    offset = u32(page, at)
    if leaf:
        title, end = cstr(page, at + 4)
        return offset, title.decode("cp1252"), end
    return offset, s16(page, at + 4), at + 6


def _keyword_entry(page, at, leaf):
    word, at = cstr(page, at)
    word = word.decode("cp1252")
    if leaf:
        return word, (u16(page, at), u32(page, at + 2)), at + 6
    return word, s16(page, at), at + 2


class Paragraph:
    def __init__(self, text, fonts, jumps, layout):
        self.text = text        # the characters, commands left out
        self.fonts = fonts      # font numbers switched to
        self.jumps = jumps      # (hash, hotspot text)
        self.layout = layout    # the paragraph-layout bits


class TopicRecord:
    def __init__(self, pos, kind, data1, data2, prev, next_):
        self.pos, self.kind, self.data1, self.data2 = pos, kind, data1, data2
        self.prev, self.next = prev, next_


class Page:
    """One topic as a viewer shows it."""

    def __init__(self, header, offset):
        self.header = header
        self.offset = offset
        self.title = header.data2.split(b"\0")[0].decode("cp1252")
        (self.size, self.browse_back, self.browse_forth, self.number, self.non_scroll,
         self.scroll, self.next_topic) = struct.unpack_from("<IIIIIII", header.data1, 0)
        self.paragraphs = []


def _ushort(data, at):
    if data[at] & 1:
        return u16(data, at) >> 1, at + 2
    return data[at] >> 1, at + 1


def _short(data, at):
    if data[at] & 1:
        return (u16(data, at) >> 1) - 16384, at + 2
    return (data[at] >> 1) - 64, at + 1


def _long(data, at):
    if data[at] & 1:
        return (u32(data, at) >> 1) - 0x40000000, at + 4
    return (u16(data, at) >> 1) - 16384, at + 2


def parse_paragraph(data1, data2):
    """The text and commands of a 0x20 record; returns (Paragraph, length
    of the text as a TOPICOFFSET counts it)."""
    at = 0
    _size, at = _long(data1, at)
    length, at = _ushort(data1, at)
    at += 4
    bits = u16(data1, at)
    at += 2
    for flag in (0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040):
        if bits & flag:
            _, at = _short(data1, at)
    if bits & 0x0001 or bits & 0x0100:
        raise FormatError("layout fields this reader does not know")
    if bits & 0x0200:
        count, at = _short(data1, at)
        for _ in range(count):
            stop, at = _ushort(data1, at)
            if stop & 0x4000:
                _, at = _ushort(data1, at)
    strings = data2.split(b"\0")
    if strings[-1] != b"":
        raise FormatError("a record's text does not end with a NUL")
    strings = strings[:-1]
    text, fonts, jumps = [], [], []
    current_jump = None
    for index, string in enumerate(strings):
        piece = string.decode("cp1252")
        text.append(piece)
        if current_jump is not None:
            current_jump[1] += piece
        if at >= len(data1):
            raise FormatError("a record has more strings than commands")
        command = data1[at]
        at += 1
        if command == 0xFF:
            if index != len(strings) - 1:
                raise FormatError("strings after the end of a record's commands")
            break
        if command == 0x80:
            fonts.append(u16(data1, at))
            at += 2
        elif command in (0x81, 0x82):
            text.append("\n")
        elif command == 0x83:
            text.append("\t")
        elif command in (0xE2, 0xE3, 0xE6, 0xE7):
            if current_jump is not None:
                raise FormatError("a jump starts inside another")
            current_jump = [u32(data1, at), ""]
            at += 4
        elif command == 0x89:
            if current_jump is None:
                raise FormatError("the end of a hotspot that was not started")
            jumps.append(tuple(current_jump))
            current_jump = None
        else:
            raise FormatError(f"command {command:#x} this reader does not know")
    else:
        raise FormatError("a record's commands do not end with 0xFF")
    if at != len(data1):
        raise FormatError("bytes after a record's end command")
    if current_jump is not None:
        raise FormatError("a hotspot is not ended")
    return Paragraph("".join(text), fonts, jumps, bits), length


class HelpFile:
    def __init__(self, data):
        self.data = data
        magic, self.directory_at, self.free_list, self.size = struct.unpack_from("<IIiI", data, 0)
        if magic != 0x00035F3F:
            raise FormatError("not a help file")
        if self.size != len(data):
            raise FormatError(f"the header says {self.size} bytes, the file has {len(data)}")
        self.directory = BTree(self._internal_at(self.directory_at), _directory_entry)
        self.files = dict(self.directory.items())
        self._system()
        self._topics()

    def _internal_at(self, offset):
        reserved, used, _flags = struct.unpack_from("<IIB", self.data, offset)
        if reserved < used + 9 or offset + reserved > len(self.data):
            raise FormatError(f"internal file at {offset} does not fit")
        return self.data[offset + 9:offset + 9 + used]

    def internal(self, name):
        if name not in self.files:
            raise FormatError(f"no internal file {name}")
        return self._internal_at(self.files[name])

    # |SYSTEM
    def _system(self):
        data = self.internal("|SYSTEM")
        magic, self.minor, self.major, self.date, self.flags = struct.unpack_from("<HHHIH", data, 0)
        if magic != 0x036C or self.major != 1:
            raise FormatError("not a |SYSTEM header")
        self.system_records = []
        at = 12
        while at + 4 <= len(data):
            kind, size = u16(data, at), u16(data, at + 2)
            self.system_records.append((kind, data[at + 4:at + 4 + size]))
            at += 4 + size
        if at != len(data):
            raise FormatError("|SYSTEM records overrun the file")

    def system_string(self, kind):
        values = [d for k, d in self.system_records if k == kind]
        return values[0].rstrip(b"\0").decode("cp1252") if values else None

    @property
    def title(self):
        return self.system_string(1)

    @property
    def contents_offset(self):
        values = [d for k, d in self.system_records if k == 3]
        return u32(values[0], 0) if values else None

    def windows(self):
        out = []
        for kind, data in self.system_records:
            if kind == 6:
                if len(data) != 90:
                    raise FormatError("a window record is not 90 bytes")
                flags = u16(data, 0)
                name = data[12:21].split(b"\0")[0].decode("cp1252")
                caption = data[21:72].split(b"\0")[0].decode("cp1252")
                out.append((flags, name, caption))
        return out

    # |TOPIC
    def _topics(self):
        if self.minor <= 16 or self.flags != 4:
            raise FormatError("this reader takes LZ77 files of 4 KB topic blocks")
        data = self.internal("|TOPIC")
        if len(data) % 4096:
            raise FormatError("|TOPIC is not made of whole blocks")
        self.block_headers = []
        self.blocks = []
        for start in range(0, len(data), 4096):
            self.block_headers.append(struct.unpack_from("<III", data, start))
            self.blocks.append(lz77_expand(data[start + 12:start + 4096]))
        self.topic_records = []
        self.pages = []
        pos, previous = 12, 0xFFFFFFFF
        characters, block_seen = 0, None
        while pos != 0xFFFFFFFF:
            block, start = (pos - 12) >> 14, (pos - 12) & 0x3FFF
            if block >= len(self.blocks):
                raise FormatError(f"TOPICPOS {pos:#x} names no block")
            if block != block_seen:
                characters, block_seen = 0, block
            buf = self.blocks[block]
            size, len2, prev, following, len1 = struct.unpack_from("<IIIII", buf, start)
            kind = buf[start + 20]
            if start + size > len(buf) or len1 < 21 or len1 > size:
                raise FormatError(f"topic record at {pos:#x} does not fit its block")
            if prev != previous:
                raise FormatError(f"record at {pos:#x} names {prev:#x} as previous")
            data1 = buf[start + 21:start + len1]
            data2 = buf[start + len1:start + size]
            if len(data2) != len2:
                raise FormatError("a record's text is compressed; the compiler writes none")
            record = TopicRecord(pos, kind, data1, data2, prev, following)
            self.topic_records.append(record)
            offset = block * 0x8000 + characters
            if kind == 0x02:
                self.pages.append(Page(record, offset))
            elif kind == 0x20:
                if not self.pages:
                    raise FormatError("text before the first topic header")
                paragraph, length = parse_paragraph(data1, data2)
                self.pages[-1].paragraphs.append(paragraph)
                characters += length
            else:
                raise FormatError(f"record type {kind:#x}")
            previous, pos = pos, following
            if len(self.topic_records) > 100000:
                raise FormatError("the chain of topic records loops")

    def page_exactly(self, offset):
        pages = [page for page in self.pages if page.offset == offset]
        return pages[0] if len(pages) == 1 else None

    # The lookup files
    def context(self):
        return BTree(self.internal("|CONTEXT"), _long_key(8))

    def context_map(self):
        data = self.internal("|CTXOMAP")
        count = u16(data, 0)
        if len(data) != 2 + 8 * count:
            raise FormatError("|CTXOMAP's size does not match its count")
        return [(u32(data, 2 + 8 * i), u32(data, 6 + 8 * i)) for i in range(count)]

    def titles(self):
        return BTree(self.internal("|TTLBTREE"), _title_entry)

    def keywords(self):
        """[(keyword, [topic offsets])] in the order of the index."""
        tree = BTree(self.internal("|KWBTREE"), _keyword_entry)
        data = self.internal("|KWDATA")
        out = []
        for word, (count, at) in tree.items():
            if at + 4 * count > len(data):
                raise FormatError(f"keyword {word!r} points past |KWDATA")
            out.append((word, [u32(data, at + 4 * i) for i in range(count)]))
        return out

    def keyword_map(self):
        data = self.internal("|KWMAP")
        if len(data) % 6:
            raise FormatError("|KWMAP is not made of 6-byte entries")
        return [(u32(data, i), u16(data, i + 4)) for i in range(0, len(data), 6)]

    def fonts(self):
        data = self.internal("|FONT")
        faces, count, face_at, descriptor_at = struct.unpack_from("<HHHH", data, 0)
        if face_at != 8:
            raise FormatError("not the font descriptors of WinHelp 3.1 and 4")
        width = (descriptor_at - face_at) // faces
        names = [data[face_at + i * width:face_at + (i + 1) * width].split(b"\0")[0].decode("ascii")
                 for i in range(faces)]
        out = []
        for i in range(count):
            attributes, half_points, family, face = struct.unpack_from("<BBBH", data,
                                                                       descriptor_at + 11 * i)
            colour = tuple(data[descriptor_at + 11 * i + 5:descriptor_at + 11 * i + 8])
            out.append((names[face], half_points, bool(attributes & 1), family, colour))
        if descriptor_at + 11 * count != len(data):
            raise FormatError("|FONT's size does not match its descriptors")
        return out


def read_contents_file(data):
    """The lines of a .cnt file: (':Keyword', text) or (level, text, context)."""
    out = []
    for line in data.decode("cp1252").split("\r\n"):
        if not line:
            continue
        if line.startswith(":"):
            keyword, _, text = line.partition(" ")
            out.append((keyword, text))
        else:
            level, _, rest = line.partition(" ")
            text, _, context = rest.partition("=")
            out.append((int(level), text, context or None))
    return out
