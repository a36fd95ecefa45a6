"""The help file that the build made, read back with the tests' own reader,
and the help compiler on sources made for the purpose."""

import html
import io
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
from collections import deque
from contextlib import redirect_stderr
from html.parser import HTMLParser

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "resources", "help"))
sys.path.insert(0, HERE)

import hlpreader  # noqa: E402
import make_help  # noqa: E402

SOURCE = os.path.join(ROOT, "resources", "help", "dvn40.txt")
BUILD = os.environ.get("DORVANE_WIN32_BUILD", os.path.join(ROOT, "build", "win32"))
EXPECTED_FILES = {"|SYSTEM", "|TOPIC", "|FONT", "|CONTEXT", "|CTXOMAP", "|TTLBTREE",
                  "|KWBTREE", "|KWDATA", "|KWMAP"}


def read(path, mode="rb"):
    with open(path, mode) as f:
        return f.read()


def shown_text(block):
    """A paragraph as a viewer shows it: list marks before, a break after."""
    prefix = {"bullet": "\u2022\t", "step": f"{block.number}.\t"}.get(block.kind, "")
    return prefix + block.plain() + "\n"


class ShippedHelpFile(unittest.TestCase):
    """dvn40.hlp and dvn40.cnt as make build left them beside dorvane.exe."""

    @classmethod
    def setUpClass(cls):
        cls.source = make_help.parse_source(read(SOURCE, "r"))
        cls.help = hlpreader.HelpFile(read(os.path.join(BUILD, "dvn40.hlp")))
        cls.cnt = hlpreader.read_contents_file(read(os.path.join(BUILD, "dvn40.cnt")))
        cls.page_of = {t.context: p for t, p in zip(cls.source.topics, cls.help.pages)}

    def topic_page(self, context):
        return self.page_of[context]

    def test_directory_holds_every_internal_file_inside_the_file(self):
        self.assertEqual(set(self.help.files), EXPECTED_FILES)
        tree = self.help.directory
        self.assertEqual((tree.structure, tree.page_size, tree.flags), ("z4", 0x400, 0x0402))
        names = [name for name, _ in tree.items()]
        self.assertEqual(names, sorted(names, key=lambda n: n.encode()))
        for name, offset in self.help.files.items():
            self.assertEqual(tree.find(name), offset)
            self.help.internal(name)        # raises when it does not fit
        self.assertIsNone(tree.find("|Phrases"))

    def test_system_record_names_title_contents_window_and_contents_file(self):
        self.assertEqual((self.help.minor, self.help.major, self.help.flags), (33, 1, 4))
        self.assertEqual(self.help.title, "Dorvane 4.0 Help")
        self.assertEqual(self.help.system_string(2), self.source.copyright)
        self.assertEqual(self.help.system_string(4), "BrowseButtons()")
        self.assertEqual(self.help.system_string(10), "dvn40.cnt")
        self.assertEqual(self.help.windows(), [(0x0006, "main", "Dorvane 4.0 Help")])
        contents = self.help.page_exactly(self.help.contents_offset)
        self.assertIs(contents, self.topic_page("contents"))

    def test_every_topic_reads_back_with_its_title_and_text(self):
        self.assertEqual(len(self.help.pages), len(self.source.topics))
        for number, (topic, page) in enumerate(zip(self.source.topics, self.help.pages)):
            with self.subTest(topic=topic.context):
                self.assertEqual(page.title, topic.title)
                self.assertEqual(page.number, number)
                texts = [p.text for p in page.paragraphs]
                self.assertEqual(texts, [topic.title + "\n"] + [shown_text(b) for b in topic.blocks])
                fonts = {f for p in page.paragraphs for f in p.fonts}
                self.assertLess(max(fonts), len(self.help.fonts()))

    def test_topic_records_chain_and_blocks_point_at_them(self):
        records = self.help.topic_records
        for record, following in zip(records, records[1:]):
            self.assertEqual(record.next, following.pos)
        self.assertEqual(records[-1].next, 0xFFFFFFFF)
        headers = [r for r in records if r.kind == 2]
        for number, (last_link, first_link, last_header) in enumerate(self.help.block_headers):
            with self.subTest(block=number):
                inside = [r for r in records if (r.pos - 12) >> 14 == number]
                before = [r for r in records if (r.pos - 12) >> 14 < number]
                self.assertTrue(inside, "a block without a record")
                self.assertEqual(first_link, inside[0].pos)
                self.assertEqual(last_link, before[-1].pos if before else 0xFFFFFFFF)
                headers_before = [h for h in headers if (h.pos - 12) >> 14 < number]
                self.assertEqual(last_header, headers_before[-1].pos if headers_before else 0xFFFFFFFF)

    def test_topic_headers_link_to_their_neighbours(self):
        pages = self.help.pages
        for number, page in enumerate(pages):
            with self.subTest(topic=page.title):
                following = pages[number + 1] if number + 1 < len(pages) else None
                self.assertEqual(page.next_topic, following.header.pos if following else 0xFFFFFFFF)
                self.assertEqual(page.browse_forth, following.offset if following else 0xFFFFFFFF)
                self.assertEqual(page.browse_back, pages[number - 1].offset if number else 0xFFFFFFFF)
                self.assertEqual(page.non_scroll, 0xFFFFFFFF)
                index = self.help.topic_records.index(page.header)
                self.assertEqual(page.scroll, self.help.topic_records[index + 1].pos)

    def test_context_strings_find_their_topics(self):
        tree = self.help.context()
        self.assertEqual(tree.structure, "L4")
        hashes = [h for h, _ in tree.items()]
        self.assertEqual(hashes, sorted(hashes))
        for topic in self.source.topics:
            with self.subTest(context=topic.context):
                wanted = hlpreader.context_hash(topic.context)
                signed = wanted - (1 << 32) if wanted & 0x80000000 else wanted
                offset = tree.find(signed)
                self.assertIs(self.help.page_exactly(offset), self.topic_page(topic.context))
        self.assertIsNone(tree.find(12345))

    def test_every_jump_lands_on_its_topic_and_every_topic_is_reachable(self):
        tree = self.help.context()
        by_offset = {p.offset: p for p in self.help.pages}
        links = {t.context: [s for b in t.blocks for s in b.spans if s.kind == "link"]
                 for t in self.source.topics}
        reached = {self.help.page_exactly(self.help.contents_offset).title}
        queue = deque([self.help.page_exactly(self.help.contents_offset)])
        while queue:
            page = queue.popleft()
            for hash_value, hotspot in [j for p in page.paragraphs for j in p.jumps]:
                signed = hash_value - (1 << 32) if hash_value & 0x80000000 else hash_value
                target = by_offset.get(tree.find(signed))
                self.assertIsNotNone(target, f"a jump in {page.title} leads nowhere")
                if target.title not in reached:
                    reached.add(target.title)
                    queue.append(target)
        self.assertEqual(reached, {t.title for t in self.source.topics})
        for topic, page in zip(self.source.topics, self.help.pages):
            jumps = [j for p in page.paragraphs for j in p.jumps]
            self.assertEqual([text for _, text in jumps], [s.text for s in links[topic.context]])
            self.assertEqual([h for h, _ in jumps],
                             [hlpreader.context_hash(s.target) for s in links[topic.context]])

    def test_context_number_35_opens_the_settings_dialog_topic(self):
        mapping = self.help.context_map()
        self.assertEqual(len(mapping), 1)
        number, offset = mapping[0]
        self.assertEqual(number, 35)
        page = self.help.page_exactly(offset)
        self.assertIs(page, self.topic_page("settings"))
        headings = [p.text.strip() for p in page.paragraphs if 3 in p.fonts]
        self.assertEqual(headings, ["The Drives tab", "The Sound tab", "The Logging tab",
                                    "The Other tab"])

    def test_titles_tree_gives_each_topic_its_title(self):
        tree = self.help.titles()
        self.assertEqual(tree.structure, "Lz")
        self.assertEqual(tree.items(), [(p.offset, p.title) for p in self.help.pages])
        for page in self.help.pages:
            self.assertEqual(tree.find(page.offset), page.title)

    def test_index_lists_each_keyword_with_its_topic(self):
        keywords = self.help.keywords()
        words = [w for w, _ in keywords]
        self.assertEqual(words, sorted(words, key=str.lower))
        expected = {k: self.topic_page(t.context).offset
                    for t in self.source.topics for k, _ in t.keywords}
        self.assertEqual({w: o for w, o in keywords}, {w: [o] for w, o in expected.items()})
        tree = hlpreader.BTree(self.help.internal("|KWBTREE"), hlpreader._keyword_entry)
        self.assertEqual(tree.structure, "F24")
        first = 0
        pages = tree.leaf_pages()
        self.assertEqual(len(self.help.keyword_map()), len(pages))
        for (number, entries), (count_before, page) in zip(pages, self.help.keyword_map()):
            self.assertEqual((count_before, page), (first, number))
            first += len(entries)

    def test_contents_file_names_every_topic_once(self):
        self.assertEqual(self.cnt[:2], [(":Base", "dvn40.hlp>main"), (":Title", "Dorvane 4.0 Help")])
        entries = self.cnt[2:]
        self.assertEqual(entries[0], (1, "Dorvane 4.0 Help", "contents"))
        tree = self.help.context()
        seen = []
        level = 1
        for entry_level, text, context in entries:
            self.assertLessEqual(entry_level, level + 1)
            if context is None:
                level = entry_level         # a book
                continue
            level = entry_level
            hash_value = hlpreader.context_hash(context)
            signed = hash_value - (1 << 32) if hash_value & 0x80000000 else hash_value
            page = self.help.page_exactly(tree.find(signed))
            self.assertEqual(page.title, text)
            seen.append(context)
        self.assertEqual(sorted(seen), sorted(t.context for t in self.source.topics))

    def test_markdown_page_in_docs_is_the_one_the_source_gives(self):
        wanted = make_help.markdown(self.source, "resources/help/dvn40.txt")
        self.assertEqual(read(os.path.join(ROOT, "docs", "help.md"), "r"), wanted,
                         "docs/help.md is stale: run resources/help/make_help.py "
                         "resources/help/dvn40.txt --md docs/help.md")

def squeeze(text):
    return " ".join(text.split())


class SitemapReader(HTMLParser):
    """The entries of a .hhc or .hhk file: (level, Name, Local or None),
    the level counted in nested lists."""

    def __init__(self):
        super().__init__()
        self.entries = []
        self.level = 0
        self.params = None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "ul":
            self.level += 1
        elif tag == "object" and attrs.get("type") == "text/sitemap":
            self.params = {}
        elif tag == "param" and self.params is not None:
            self.params[attrs["name"]] = attrs["value"]

    def handle_endtag(self, tag):
        if tag == "ul":
            self.level -= 1
        elif tag == "object" and self.params is not None:
            self.entries.append((self.level, self.params.get("Name"), self.params.get("Local")))
            self.params = None


class PageReader(HTMLParser):
    """A page's title and its text as shown, one squeezed string."""

    def __init__(self):
        super().__init__()
        self.title = None
        self.text = []
        self.element = None

    def handle_starttag(self, tag, attrs):
        self.element = tag

    def handle_endtag(self, tag):
        self.element = None

    def handle_data(self, data):
        if self.element == "title":
            self.title = data
        elif self.element != "style":
            self.text.append(data)


def chmls(*args):
    """chmls's output without its banner."""
    result = subprocess.run(["chmls", "-p", *args], capture_output=True, timeout=60)
    if result.returncode != 0:
        raise AssertionError(f"chmls {' '.join(args)} failed: {result.stderr!r}")
    return result.stdout.decode("cp1252")


def program_help_table():
    """What the program opens in dvn40.chm, as resources/HelpFiles.h says."""
    text = read(os.path.join(ROOT, "resources", "HelpFiles.h"), "r")
    pages = {int(n): page for n, page in re.findall(r'\{(\d+), "([^"]+)"\}', text)}
    strings = dict(re.findall(r'constexpr char (k\w+)\[\] = "([^"]*)"', text))
    return pages, strings


class ShippedHtmlHelpFile(unittest.TestCase):
    """dvn40.chm as make build left it beside dorvane.exe, read back with
    chmls (Debian package fp-utils)."""

    @classmethod
    def setUpClass(cls):
        if shutil.which("chmls") is None:
            raise unittest.SkipTest("chmls (fp-utils) is not installed")
        cls.source = make_help.parse_source(read(SOURCE, "r"))
        cls.path = os.path.join(BUILD, "dvn40.chm")
        cls.names = {line.strip() for line in chmls("-n", "list", cls.path).splitlines()
                     if line.startswith("/")}
        cls.work = tempfile.TemporaryDirectory()

    @classmethod
    def tearDownClass(cls):
        cls.work.cleanup()

    def extract(self, name):
        target = os.path.join(self.work.name, name.strip("/").replace("/", "_") or "root")
        chmls("extract", self.path, name, target)
        return read(target)

    def sitemap(self, name):
        reader = SitemapReader()
        reader.feed(self.extract(name).decode("cp1252"))
        return reader.entries

    def test_holds_a_page_for_every_topic_and_nothing_else_of_its_own(self):
        pages = {"/" + make_help.chm_page_name(t.context) for t in self.source.topics}
        own = {n for n in self.names if not re.match(r"^/([#$]|_#_|$)", n)}
        self.assertEqual(own, pages | {"/dvn40.hhc", "/dvn40.hhk"})

    def test_every_page_shows_its_topic_with_its_title_and_text(self):
        for topic in self.source.topics:
            with self.subTest(topic=topic.context):
                reader = PageReader()
                reader.feed(self.extract("/" + make_help.chm_page_name(topic.context))
                            .decode("cp1252"))
                self.assertEqual(reader.title, topic.title)
                shown = squeeze("".join(reader.text))
                self.assertTrue(shown.startswith(squeeze(topic.title)), shown[:80])
                for block in topic.blocks:
                    self.assertIn(squeeze(block.plain()), shown)

    def test_contents_tree_has_the_shape_of_the_contents_file(self):
        cnt = hlpreader.read_contents_file(read(os.path.join(BUILD, "dvn40.cnt")))[2:]
        wanted = [(level, text, context and make_help.chm_page_name(context))
                  for level, text, context in cnt]
        self.assertEqual(self.sitemap("/dvn40.hhc"), wanted)

    def test_index_names_each_keyword_with_its_topics_page(self):
        wanted = sorted((k, make_help.chm_page_name(t.context))
                        for t in self.source.topics for k, _ in t.keywords)
        entries = self.sitemap("/dvn40.hhk")
        self.assertEqual({level for level, _, _ in entries}, {1})
        self.assertEqual(sorted((name, page) for _, name, page in entries), wanted)
        # The binary index, which the Index tab of Windows' viewer reads.
        self.assertIn("/$WWKeywordLinks/BTree", self.names)

    def test_system_and_window_name_the_title_contents_and_index(self):
        system = chmls("printsystem", self.path)
        for label, value in (("Title", "Dorvane 4.0 Help"), ("Default topic", "contents.htm"),
                             ("Default Window", "main"), ("Contents file", "dvn40.hhc"),
                             ("Index file", "dvn40.hhk")):
            self.assertRegex(system, rf"{label} from \[options\] *:{re.escape(value)}\x00?\n")
        windows = chmls("printwindows", self.path)
        self.assertRegex(windows, r"Entries in #Windows *: 1\n")
        self.assertRegex(windows, r"WindowType *: main ")
        self.assertRegex(windows, r"Title Bar Text *: Dorvane 4\.0 Help ")
        # The caption stays the help's title: no HHWIN_PROP_CHANGE_TITLE.
        style = int(re.search(r"navigation pane styles *: ([0-9A-F]+)", windows).group(1), 16)
        self.assertEqual(style & 0x2000, 0)

    def test_the_programs_requests_name_pages_of_their_topics(self):
        pages, strings = program_help_table()
        self.assertEqual(strings["kHtmlHelpFileName"], os.path.basename(self.path))
        mapped = {value: topic for topic in self.source.topics for value, _ in topic.map_ids}
        self.assertEqual(sorted(pages), sorted(mapped))
        self.assertEqual(pages[35], make_help.chm_page_name(self.source.topic("settings").context))
        requested = [(pages[n], mapped[n]) for n in pages]
        requested.append((strings["kHelpOnHelpPage"], self.source.topic("using_help")))
        for page, topic in requested:
            with self.subTest(page=page):
                self.assertIn("/" + page, self.names)
                reader = PageReader()
                reader.feed(self.extract("/" + page).decode("cp1252"))
                self.assertEqual(reader.title, topic.title)

    def test_no_context_alias_points_outside_the_file(self):
        # chmcmd 3.2.2 stores an [ALIAS] target as a path of the build
        # machine; the project has none, and any that appears must name a
        # page of the file.
        if "/#IVB" not in self.names:
            return
        ivb, strings = self.extract("/#IVB"), self.extract("/#STRINGS")
        size = struct.unpack_from("<I", ivb)[0]
        for context, offset in struct.iter_unpack("<II", ivb[4:4 + size]):
            target = strings[offset:strings.index(b"\0", offset)].decode("cp1252")
            self.assertIn("/" + target.lstrip("/"), self.names, f"context {context}")


class HelpDescribesTheProgram(unittest.TestCase):
    """The words on the program's screens, taken from its sources, stand in
    the help, so that a renamed command or message shows up here."""

    @classmethod
    def setUpClass(cls):
        help_file = hlpreader.HelpFile(read(os.path.join(BUILD, "dvn40.hlp")))
        cls.text = "\n".join(p.text for page in help_file.pages for p in page.paragraphs)
        sources = []
        for folder in ("shell", "settings", "about", "platform", "resources"):
            for base, _, names in os.walk(os.path.join(ROOT, folder)):
                sources += [read(os.path.join(base, n), "r") for n in sorted(names)
                            if n.endswith((".cpp", ".h"))]
        cls.program = "\n".join(sources)

    # A caption in a layout table: a fixed text, or a text of the table by
    # its id.
    CAPTION = r'(?:"([^"]+)"|TextNamed\("([\w.]+)"\))'

    def captions(self, header, pattern):
        """The captions that `pattern` (ending in CAPTION) finds in a layout
        table, in English, without their access keys' "&"."""
        text = read(os.path.join(ROOT, "resources", header), "r")
        english = dict(re.findall(r'\{"([\w.]+)",\s*"((?:[^"\\]|\\.)*)"\}',
                                  read(os.path.join(ROOT, "resources", "Texts.h"), "r")))
        return [(fixed or english[id_]).replace("&", "")
                for fixed, id_ in re.findall(pattern, text)]

    def assert_in_help(self, words):
        for word in words:
            with self.subTest(word=word):
                self.assertTrue(word in self.text, f"the help does not mention {word!r}")

    def assert_in_program_and_help(self, words, quoted=False):
        for word in words:
            with self.subTest(word=word):
                self.assertTrue((f'"{word}"' if quoted else word) in self.program,
                                f"{word!r} is no longer in the program's sources")
                self.assertTrue(word in self.text, f"the help does not mention {word!r}")

    def test_every_command_of_the_tray_menu(self):
        captions = self.captions("SplashLayout.h", r'\{"mi\w+", (?:nullptr|"\w+"), ' + self.CAPTION)
        self.assertEqual(len(captions), 8)
        self.assert_in_help(captions)

    def test_every_tab_option_and_button_of_the_settings_dialog(self):
        captions = self.captions("SettingsLayout.h",
                                 r'Kind::(?:TabSheet|RadioButton|CheckBox|Button), "\w+", '
                                 r'-?\d+, -?\d+, \d+, \d+,\s*' + self.CAPTION)
        self.assertGreater(len(captions), 15)
        self.assert_in_help(c for c in captions if c != "...")
        self.assert_in_program_and_help(
            ["Don't warn if the label of the detected disk is one of the following:"])

    def test_messages_file_choosers_and_boxes(self):
        self.assert_in_program_and_help([
            "Are you sure you want to restart your computer?",
            "Are you sure you want to shut down Windows?",
            "There is still a disk with the label", "Left a disk with the label",
            "Select a wave file", "Select a log file", "Add Label", "dvn.dvl", "(None)",
            "Cannot create file", "Stream write error", "Failed to set data for"])

    def test_registry_key_and_every_value_name(self):
        self.assertTrue('"\\\\SOFTWARE\\\\Kestrome\\\\Dorvane\\\\4.0"' in self.program)
        self.assertIn("HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrome\\Dorvane\\4.0", self.text)
        self.assert_in_program_and_help(["Sound", "SoundFile", "WindowsSound", "Logging",
                                         "LogFile", "NoDialog", "Drives", "RemovableDrives",
                                         "RemindWhenAway"],
                                        quoted=True)
        self.assert_in_program_and_help(["NoSound", "SoundWindows", "Exclamation", "Question",
                                         "Error", "Information"], quoted=True)
        self.assertTrue('4.0\\\\Exclusions"' in self.program)
        self.assert_in_help(["subkey Exclusions"])


def compile_source(text, date=0):
    source = make_help.parse_source(text)
    return source, hlpreader.HelpFile(make_help.help_file(source, date))


class CompilerOnMadeSources(unittest.TestCase):

    def test_large_help_needs_several_levels_of_tree_and_many_blocks(self):
        lines = ["@title Many topics"]
        for n in range(300):
            lines.append(f"@topic t{n}.{n % 7}_x Topic number {n}")
            # Long keywords fill pages quickly: the index needs three levels.
            lines.append("@keywords " + "; ".join(f"{'keyword ' * 6}{n:03d} {k}" for k in range(10)))
            lines.append("")
            following = (n + 1) % 300
            lines.append(f"Text of topic {n}, with a jump to [the next one](t{following}."
                         f"{following % 7}_x) and *bold* words.")
            lines.append("- an item")
        source, help_file = compile_source("\n".join(lines) + "\n")
        self.assertEqual(len(help_file.pages), 300)
        self.assertGreater(len(help_file.blocks), 10)
        keywords = hlpreader.BTree(help_file.internal("|KWBTREE"), hlpreader._keyword_entry)
        contexts = help_file.context()
        self.assertEqual(keywords.levels, 3)
        self.assertGreaterEqual(contexts.levels, 2)
        for topic, page in zip(source.topics, help_file.pages):
            self.assertEqual(page.title, topic.title)
            value = hlpreader.context_hash(topic.context)
            value = value - (1 << 32) if value & 0x80000000 else value
            self.assertEqual(contexts.find(value), page.offset)
            for keyword, _ in topic.keywords:
                count, at = keywords.find(keyword, order=str.lower)
                self.assertEqual(count, 1)
                data = help_file.internal("|KWDATA")
                self.assertEqual(hlpreader.u32(data, at), page.offset)
        first, wanted = 0, []
        for number, entries in keywords.leaf_pages():
            wanted.append((first, number))
            first += len(entries)
        self.assertEqual(help_file.keyword_map(), wanted)
        titles = help_file.titles()
        self.assertEqual([o for o, _ in titles.items()], [p.offset for p in help_file.pages])

    def test_faulty_sources_are_refused_with_their_line(self):
        head = "@title T\n@topic a A\n\nText.\n"
        cases = [
            (head + "@topic b B\n\nSee [there](nowhere).\n", "line 7", "unknown topic"),
            (head + "@topic A Again\n\nText.\n", "line 5", "used twice"),
            (head + "@keywords k\n@topic b B\n@keywords K\n\nText.\n", "line 7", "already names"),
            ("@title T\n@topic a-b Bad\n\nText.\n", "line 2", "may hold only"),
            (head + "\nA *bold start.\n", "line 6", "closing"),
            (head + "@map 35\n@topic b B\n@map 35\n\nText.\n", "line 7", "already names"),
            ("@title T\nstray text\n@topic a A\n\nText.\n", "line 2", "before the first"),
            (head + "@frobnicate now\n", "line 5", "unknown"),
        ]
        for text, line, message in cases:
            with self.subTest(message=message, line=line):
                with self.assertRaises(make_help.SourceError) as caught:
                    make_help.parse_source(text)
                self.assertIn(line, str(caught.exception))
                self.assertIn(message, str(caught.exception))

    def test_sources_that_cannot_become_a_help_file(self):
        cases = [
            ("@topic a A\n\nText.\n", "no @title"),
            ("@title T\n", "no @topic"),
            ("@title T\n@contents z\n@topic a A\n\nText.\n", "does not exist"),
            ("@title T\n@topic a A\n\nA snowman \u2603.\n", "code page"),
            ("@title T\n@topic a A\n", "has no text"),
        ]
        for text, message in cases:
            with self.subTest(message=message):
                with self.assertRaises(make_help.SourceError) as caught:
                    make_help.parse_source(text)
                self.assertIn(message, str(caught.exception))
        source = make_help.parse_source("@title T\n@topic a A\n\n" + "word " * 800 + "\n")
        with self.assertRaises(make_help.SourceError) as caught:
            make_help.help_file(source)
        self.assertIn("too long", str(caught.exception))

    def test_markup_becomes_fonts_tabs_and_jumps(self):
        text = ("@title T\n@topic a First\n\nPlain *bo\\*ld* plain [to b](b) end\\*.\n\n"
                "- one\n  continued\n2. step\n## Part\n\n    a  *b*\n    c\n"
                "@topic b Second\n\nBack to [a](a).\n")
        source, help_file = compile_source(text)
        first = help_file.pages[0].paragraphs
        self.assertEqual([p.text for p in first],
                         ["First\n", "Plain bo*ld plain to b end*.\n", "\u2022\tone continued\n",
                          "2.\tstep\n", "Part\n", "a  *b*\nc\n"])
        self.assertEqual(first[0].fonts, [2])
        self.assertEqual(first[1].fonts, [0, 1, 0])
        self.assertEqual(first[1].jumps, [(hlpreader.context_hash("b"), "to b")])
        self.assertEqual(first[4].fonts, [3])
        self.assertEqual(first[5].fonts, [4])
        self.assertEqual(help_file.fonts()[4][:4], ("Courier New", 20, False, 1))
        self.assertTrue(first[2].layout & 0x0200 and first[2].layout & 0x0010)

    def test_compressed_numbers_read_back_over_their_ranges(self):
        for value in list(range(-16384, 16384, 7)) + [-16384, -65, -64, 63, 64, 16383]:
            self.assertEqual(hlpreader._short(make_help.compressed_short(value), 0)[0], value)
        for value in list(range(0, 32768, 5)) + [127, 128, 32767]:
            self.assertEqual(hlpreader._ushort(make_help.compressed_ushort(value), 0)[0], value)
        for value in (-16384, -1, 0, 16383, 16384, 100000, -100000, 0x3FFFFFFF):
            self.assertEqual(hlpreader._long(make_help.compressed_long(value), 0)[0], value)

    def test_markup_becomes_html_pages_contents_and_index(self):
        source = make_help.parse_source(
            "@title T & Co\n@topic a A <1>\n@keywords x < y\n\n## Head\n\nSee *OK* and [b](b).\n\n"
            "- one\n- two\n\n3. three\n4. four\n\n    a < b & \"c\"\n\n@book B\n"
            "@topic b Bee\n@keywords bee\n\nText.\n")
        page = make_help.html_page(source, source.topic("a")).decode("cp1252")
        self.assertIn("<title>A &lt;1&gt;</title>", page)
        self.assertIn("<h2>Head</h2>", page)
        self.assertIn('<p>See <b>OK</b> and <a href="b.htm">b</a>.</p>', page)
        self.assertIn("<ul>\r\n<li>one</li>\r\n<li>two</li>\r\n</ul>", page)
        self.assertIn('<ol start="3">\r\n<li value="3">three</li>\r\n<li value="4">four</li>'
                      "\r\n</ol>", page)
        self.assertIn("<pre>a &lt; b &amp; &quot;c&quot;</pre>", page)
        contents = SitemapReader()
        contents.feed(make_help.html_contents(source).decode("cp1252"))
        self.assertEqual(contents.entries, [(1, "A <1>", "a.htm"), (1, "B", None),
                                            (2, "Bee", "b.htm")])
        index = SitemapReader()
        index.feed(make_help.html_index(source).decode("cp1252"))
        self.assertEqual(index.entries, [(1, "bee", "b.htm"), (1, "x < y", "a.htm")])

    def test_a_missing_html_help_compiler_is_named(self):
        with tempfile.TemporaryDirectory() as folder:
            good = os.path.join(folder, "good.txt")
            with open(good, "w", encoding="utf-8") as f:
                f.write("@title T\n@topic a A\n\nText.\n")
            errors = io.StringIO()
            with redirect_stderr(errors):
                status = make_help.main([good, "--chm", os.path.join(folder, "x.chm"),
                                         "--chmcmd", os.path.join(folder, "no-chmcmd")])
            self.assertEqual(status, 1)
            self.assertIn("fp-utils", errors.getvalue())
            self.assertFalse(os.path.exists(os.path.join(folder, "x.chm")))

    def test_command_line_writes_the_three_files_or_says_where_the_fault_is(self):
        with tempfile.TemporaryDirectory() as folder:
            good = os.path.join(folder, "good.txt")
            with open(good, "w", encoding="utf-8") as f:
                f.write("@title T\n@topic a A\n@keywords one\n\nText.\n")
            paths = [os.path.join(folder, n) for n in ("x.hlp", "x.cnt", "x.md")]
            status = make_help.main([good, "--hlp", paths[0], "--cnt", paths[1], "--md", paths[2],
                                     "--date", "1000000000"])
            self.assertEqual(status, 0)
            help_file = hlpreader.HelpFile(read(paths[0]))
            self.assertEqual((help_file.date, help_file.system_string(10)), (1000000000, "x.cnt"))
            self.assertEqual(hlpreader.read_contents_file(read(paths[1]))[0], (":Base", "x.hlp>main"))
            self.assertIn('<a id="a"></a>', read(paths[2], "r"))
            bad = os.path.join(folder, "bad.txt")
            with open(bad, "w", encoding="utf-8") as f:
                f.write("@title T\n@topic a A\n\nSee [b](b).\n")
            errors = io.StringIO()
            with redirect_stderr(errors):
                self.assertEqual(make_help.main([bad, "--hlp", paths[0]]), 1)
            self.assertIn("bad.txt: line 4: link to unknown topic 'b'", errors.getvalue())


if __name__ == "__main__":
    unittest.main()
