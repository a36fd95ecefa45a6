#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets, tests/fuzz/corpus/<target>/.

Each seed is a case a person would try first, in the target's input
layout (see the comment at the top of each *Fuzz.cpp); the fuzzer starts
from them and mutates. Run it again after changing a layout."""

import pathlib
import shutil
import struct
import zlib

CORPUS = pathlib.Path(__file__).resolve().parent / "corpus"


def text(data: bytes) -> bytes:
    """A length byte, then the bytes: FuzzInput::Text."""
    assert len(data) < 256
    return bytes([len(data)]) + data


def number(value: int) -> bytes:
    """Two bytes that FuzzInput::Between reads as `value` from its low end."""
    return struct.pack(">H", value)


# --- line_breaks: code page, label, the log's bytes
CP_SINGLE, CP_JAPANESE, CP_CHINESE = 0, 1, 2
line_breaks = {
    "crlf": bytes([CP_SINGLE]) + text(b"DISK1") + b"one\r\ntwo\r\n",
    "lf_cr_mixed": bytes([CP_SINGLE]) + text(b"") + b"a\r\n\n\rb\r\r\nlast",
    "nul_bytes": bytes([CP_SINGLE]) + text(b"\xc4\xd6") + b"a\0b\r\n\0",
    "trail_bytes": bytes([CP_JAPANESE]) + text(b"\x82\xa0") + b"\x81\nA\x81\rC\x81\r\nB\x81",
    "ends_in_lead_byte": bytes([CP_CHINESE]) + text(b"\xc4\xe3") + b"one\r\ntwo\xc0",
}

# --- date_time: code page, wide, two times, eight locale texts, a
# double-byte character, a literal
def time(year, month, day, hour, minute, second, wide):
    low_year, low_month, low_day = (1000, 10, 10) if wide else (1601, 1, 1)
    return (number(year - low_year) + number(month - low_month) + number(day - low_day) +
            number(hour) + number(minute) + number(second))


def locale(pattern, date_sep, time_sep, leading_zero, twenty_four, mark_first, am, pm):
    return b"".join(text(v) for v in (pattern, date_sep, time_sep, leading_zero, twenty_four,
                                      mark_first, am, pm))


def date_case(cp, values, double_byte=b"", literal=b""):
    return (bytes([cp, 1]) + time(2026, 12, 18, 16, 35, 12, True) +
            time(2031, 11, 27, 0, 5, 9, True) + values + text(double_byte) + text(literal))


date_time = {
    "en_us": date_case(CP_SINGLE, locale(b"M/d/yyyy", b"/", b":", b"0", b"0", b"0", b"AM", b"PM")),
    "de_de": date_case(CP_SINGLE, locale(b"dd.MM.yyyy", b".", b":", b"1", b"1", b"0", b"", b"")),
    "fallbacks": date_case(CP_SINGLE, locale(b"", b"", b"", b"", b"", b"", b"", b""), b"", b"x"),
    "quoted": date_case(CP_SINGLE, locale(b"d 'de' MMMM \"de\" yy", b"-", b".", b"x", b"12",
                                          b"1", b"a.m.", b"p.m."), b"", b"a'b\"c"),
    # Shift-JIS: the designators are double-byte words, and "\x81d" carries
    # a "d" as its second byte.
    "ja_jp": date_case(CP_JAPANESE, locale(b"yyyy/MM/dd", b"/", b":", b"0", b"0", b"1",
                                           b"\x8c\xdf\x91\x4f", b"\x8c\xdf\x8c\xe3"),
                       b"\x81d", b"\x94\x4e"),
}

# --- labels: label, exclusions, then the variation bytes
def labels_case(label, exclusions, variation=b""):
    return (text(label) + bytes([len(exclusions)]) + b"".join(text(e) for e in exclusions) +
            variation)


labels = {
    "plain": labels_case(b"DISK1", [b"disk1", b"OTHER"], b"\x01\x00\x01" + text(b" \t") + b"\x01"),
    "accented": labels_case(b"\xe9t\xe9", [b"\xc9T\xc9"], b"\x00\x01\x00" + text(b"") + b"\x00\x00\x00\x01"),
    "blanks": labels_case(b"  \x01", [b"", b" "]),
    "double_byte": labels_case(b"\x82\xa0\x82\xa2", [b"\x82\xa0\x82\xa2 "]),
}

# --- drive_string: drives that exist, check marks before, the text
def drives_case(letters, checked, text_bytes):
    mask = sum(1 << (ord(c) - ord("A")) for c in letters)
    return struct.pack("<II", mask, checked) + text_bytes


drive_string = {
    "a_and_c": drives_case("ACD", 0, b"AC"),
    "lower_case": drives_case("ACD", 0, b"a"),
    "blank_selects_all": drives_case("ACDZ", 0, b" "),
    "out_of_order": drives_case("ACD", 0b10, b"DCAAZ"),
    "no_drive_a": drives_case("CD", 0, b"A"),
}

# --- settings_load: drives, choices, labels held, then records
NAMES = ["Sound", "SoundFile", "WindowsSound", "Logging", "LogFile", "NoDialog", "Drives",
         "RemovableDrives"]
REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD = 1, 2, 3, 4


def value(name, type_, data, upper=False):
    return bytes([NAMES.index(name) << 3 | (0x80 if upper else 0), type_]) + text(data)


def dword(name, number_, size=4):
    return value(name, REG_DWORD, struct.pack("<I", number_)[:size])


def sz(name, data):
    return value(name, REG_SZ, data + b"\0")


def other_value(name, type_, data):
    return bytes([4]) + text(name) + bytes([type_]) + text(data)


def label(name):
    return bytes([5]) + text(name) + bytes([REG_SZ]) + text(name + b"\0")


def label_subkey(name, inner):
    return bytes([6 | 0x80]) + text(name) + text(inner) + text(b"v")


def other_subkey(name):
    return bytes([7]) + text(name)


def held(letters, choices, labels_held):
    mask = sum(1 << (ord(c) - ord("A")) for c in letters)
    return bytes([mask, choices, len(labels_held)]) + b"".join(text(l) for l in labels_held)


FULL = (sz("Sound", b"SoundWindows") + sz("SoundFile", b"C:\\WAV\\ding.wav") +
        sz("WindowsSound", b"Question") + dword("Logging", 1) + sz("LogFile", b"C:\\DVN\\dvn.dvl") +
        dword("NoDialog", 0) + sz("Drives", b"AC"))
settings_load = {
    "fresh": held("AC", 0, []),
    "full": held("ACD", 0, []) + FULL + label(b"DISK1") + label(b"backup"),
    "short_dwords": held("ACD", 0, [b"KEEP"]) + dword("NoDialog", 1, 2) + dword("Logging", 1, 1),
    "texts_without_zero": held("A", 5, []) + dword("NoDialog", 0) + dword("Logging", 0) +
        value("SoundFile", REG_SZ, b"C:\\a.wav") + value("LogFile", REG_EXPAND_SZ, b"%WINDIR%\\x\0y") +
        value("Drives", REG_SZ, b"a :"),
    "wrong_types": held("AC", 0, [b"Mine", b"MINE"]) + FULL + value("Sound", REG_DWORD, b"\1\0\0\0") +
        value("NoDialog", REG_SZ, b"1\0", upper=True),
    "long_dword_and_others": held("ABC", 7, []) + FULL + dword("Logging", 1) +
        value("NoDialog", REG_BINARY, b"\1\0\0\0\0") + other_value(b"Old", REG_SZ, b"x\0") +
        other_subkey(b"Other") + label_subkey(b"Nested", b"Deeper"),
    "removable_drives": held("ACE", 0, []) + FULL + dword("RemovableDrives", 1, 2),
    "removable_drives_as_text": held("AC", 0, []) + FULL + sz("RemovableDrives", b"1"),
}


# --- inflate: mode 0 and the bytes to hold in stored blocks; or another
# mode, the size to expect and a stream
def deflated(data, level=9):
    z = zlib.compressobj(level, zlib.DEFLATED, -15, 9)
    return z.compress(data) + z.flush()


LETTERS = bytes(b"abcd"[(i * 7919 >> 3) % 4] for i in range(300))
inflate = {
    "stored_known": bytes([0]) + b"Dorvane " * 40,
    "fixed_codes": bytes([1]) + number(160) + deflated(b"Dorvane " * 20),
    "dynamic_codes": bytes([1]) + number(len(LETTERS)) + deflated(LETTERS),
    "expects_more": bytes([1]) + number(161) + deflated(b"Dorvane " * 20),
    "cut_short": bytes([1]) + number(len(LETTERS)) + deflated(LETTERS)[:-5],
    "stored_bad_complement": bytes([1]) + number(3) + b"\x01\x03\x00\xfd\xfe" + b"abc",
    "reserved_block": bytes([1]) + number(1) + b"\x07",
}


# --- picture: a stored picture as a resource holds it
ART = CORPUS.parent.parent.parent / "resources" / "art"


def picture(width, height, bits, colours, raw):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 0, 0, colours, 0) + \
        deflated(raw)


PALETTE = b"\xff\x00\xff" + b"\x10\x20\x30"
picture_seeds = {
    "menu_cross": (ART / "mi_exit.dfb").read_bytes(),
    "menu_cog": (ART / "mi_settings.dfb").read_bytes(),
    "true_colour": picture(3, 2, 24, 0, bytes(range(18))),
    "index_past_palette": picture(2, 2, 8, 2, PALETTE + b"\x00\x01\x02\x00"),
    "pixels_too_few": picture(2, 2, 8, 2, PALETTE + b"\x00\x01\x01"),
    "top_down": struct.pack("<IiiHHIIiiII", 40, 2, -2, 1, 24, 0, 0, 0, 0, 0, 0) + deflated(bytes(12)),
    "header_only": picture(2, 2, 24, 0, b"")[:40],
}


# --- shrink: the picture's size, the size to draw, keyed, one colour, the
# pixels
def shrink_case(from_w, from_h, w, h, keyed, one_colour, pixels):
    return (number(from_w - 1) + number(from_h - 1) + number(w) + number(h) +
            bytes([keyed, one_colour]) + pixels)


shrink = {
    "125_one_row": shrink_case(8, 1, 5, 1, 0, 0, bytes([0, 0, 0, 4, 4, 4, 10, 10, 10, 20, 20, 20])),
    "150_keyed": shrink_case(4, 4, 3, 3, 1, 0, b"\xff\x00\xff\x00\x00\xc8\x5a\x5a\x5a"),
    "one_colour": shrink_case(7, 5, 3, 2, 0, 1, b"\x12\x34\x56"),
    "refused_width": shrink_case(4, 4, 0, 3, 0, 0, b"\x01"),
    "larger_than_the_picture": shrink_case(4, 4, 5, 4, 0, 0, b"\x01"),
}

# --- language_file: the file's bytes. The shipped files are seeds as they
# stand (scripts/fuzz.sh gives the fuzzer resources/lang too); here, each
# way one may come damaged: cut off inside a character, as Notepad's
# "Unicode" (UTF-16), with broken values, doubled ids and stray bytes. The
# fuzzer reads no more than MAX_LEN bytes of a seed, so none is longer.
MAX_LEN = 1024  # scripts/fuzz.sh: -max_len
LANG = pathlib.Path(__file__).resolve().parents[2] / "resources" / "lang"
polish = (LANG / "pl.txt").read_bytes()
cut = polish.index("ł".encode()) + 1
language_file = {
    "cut_inside_a_character": polish[:cut][-MAX_LEN:],
    "utf16_with_its_mark": (b"\xff\xfe" + polish.decode("utf-8-sig").encode("utf-16-le"))[:MAX_LEN],
    "no_mark_line_feeds_alone": (LANG / "de.txt").read_bytes().replace(b"\r\n", b"\n")[3:MAX_LEN + 3],
    "values_broken": b"Warning = %1 %3\r\nBlockReason = %2 %s\r\nReminder.More = %1 %2\r\n"
                     b"Error.GetData = 100 %% %1\r\nMenu.Exit = %\r\n",
    "ids_doubled_and_cased": b"menu.exit = &Quitter\r\nMENU.EXIT = &Zweite\r\nWarning =\r\n"
                             b"Warning = \xe2\x80\x9e%1\xe2\x80\x9c %2\r\n",
    "stray_bytes": b"Menu.Exit = \xc0\xaf\r\nSettings.OK = \xed\xa0\x80\r\nAbout.OK = \x01&OK\r\n"
                   b"\x00\xff\xfe = =\r\n= Menu.About\r\n",
}

TARGETS = {"line_breaks": line_breaks, "date_time": date_time, "labels": labels,
           "drive_string": drive_string, "settings_load": settings_load, "inflate": inflate,
           "picture": picture_seeds, "shrink": shrink, "language_file": language_file}

for target, seeds in TARGETS.items():
    folder = CORPUS / target
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    for name, data in seeds.items():
        (folder / name).write_bytes(data)
