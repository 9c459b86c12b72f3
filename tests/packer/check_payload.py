#!/usr/bin/env python3
"""Checks the installer's archive field by field against the product folder
it was made of, and that the installer's executable carries it.

  check_payload.py --archive payload.zip --product-dir FOLDER --product NAME
                   [--manifest FILE] [--demo] [--program DormivetSetup.exe]

--demo adds the checks that hold for the demo product only (its eleven
entries and their kinds)."""
import argparse
import email
import os
import struct
import sys
import unittest
import zipfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import zip_layout  # noqa: E402

ARGS = None


def expected_names():
    """The entry names in order, UTF-8, as the manifest or the folder gives them."""
    if ARGS.manifest:
        with open(ARGS.manifest, encoding="utf-8") as manifest:
            lines = [line.rstrip("\r\n") for line in manifest]
        return [line for line in lines if line and not line.startswith("#")]
    names = []

    def walk(folder, prefix):
        for leaf in sorted(os.listdir(folder), key=lambda n: n.encode("utf-8")):
            path = os.path.join(folder, leaf)
            if os.path.isdir(path):
                names.append(prefix + leaf + "/")
                walk(path, prefix + leaf + "/")
            else:
                names.append(prefix + leaf)

    walk(ARGS.product_dir, "")
    executable = ARGS.product + ".exe"
    names.remove(executable)
    return names + [executable]


class PayloadArchive(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(ARGS.archive, "rb") as archive:
            cls.data = archive.read()
        cls.archive = zip_layout.parse(cls.data)
        cls.entries = cls.archive.entries
        cls.names = expected_names()

    def test_entries_are_the_product_folder_in_order_with_gbk_names(self):
        self.assertEqual([e.name for e in self.entries], [n.encode("gbk") for n in self.names])

    def test_product_executable_is_the_last_entry_at_the_root(self):
        self.assertEqual(self.entries[-1].name, (ARGS.product + ".exe").encode("ascii"))
        self.assertEqual(self.entries[-1].central.method, 8)

    def test_every_entry_made_on_a_dos_host_without_encryption_or_zip64(self):
        for entry in self.entries:
            with self.subTest(entry=entry.name):
                self.assertEqual(entry.version_made_by >> 8, 0)
                self.assertEqual(entry.version_made_by & 0xFF, 20)
                self.assertEqual(entry.central.version_needed, 20)
                self.assertEqual(entry.local.version_needed, 20)
                # No encryption (bit 0), no data descriptor (bit 3), names not
                # flagged as UTF-8 (bit 11): they are GBK.
                for header in (entry.central, entry.local):
                    self.assertEqual(header.flags & 0x0809, 0)
                self.assertNotIn(0x0001, [i for i, _ in entry.extra_blocks("central")])
                self.assertNotIn(0x0001, [i for i, _ in entry.extra_blocks("local")])
                self.assertLess(entry.central.size, 0xFFFFFFFF)
                self.assertLess(entry.central.compressed_size, 0xFFFFFFFF)

    def test_folders_stored_empty_with_directory_attribute_files_deflated_with_archive(self):
        for entry in self.entries:
            with self.subTest(entry=entry.name):
                if entry.name.endswith(b"/"):
                    self.assertEqual(entry.central.method, 0)
                    self.assertEqual((entry.central.size, entry.central.compressed_size), (0, 0))
                    self.assertEqual(entry.central.crc, 0)
                    self.assertEqual(entry.external_attributes, 0x10)
                else:
                    self.assertEqual(entry.central.method, 8)
                    # Deflated at the strongest level: flag bits 1-2 say "maximum".
                    self.assertEqual(entry.central.flags & 0x6, 0x2)
                    self.assertEqual(entry.external_attributes, 0x20)

    def test_local_headers_repeat_the_central_ones(self):
        for entry in self.entries:
            with self.subTest(entry=entry.name):
                c, l = entry.central, entry.local
                self.assertEqual((l.flags, l.method, l.dos_time, l.dos_date, l.crc,
                                  l.compressed_size, l.size, l.name),
                                 (c.flags, c.method, c.dos_time, c.dos_date, c.crc,
                                  c.compressed_size, c.size, c.name))

    def test_entries_follow_each_other_without_gaps(self):
        offset = 0
        for entry in self.entries:
            self.assertEqual(entry.local_offset, offset, entry.name)
            offset = entry.data_offset + entry.central.compressed_size
        self.assertEqual(self.archive.central_offset, offset)

    def test_unicode_path_block_on_the_last_entry_in_both_headers_only(self):
        last = self.entries[-1]
        for which in ("local", "central"):
            with self.subTest(header=which):
                self.assertEqual(zip_layout.unicode_path(last, which),
                                 (1, zlib.crc32(last.name), self.names[-1].encode("utf-8")))
                self.assertEqual(len(last.extra_blocks(which)), 1)
        for entry in self.entries[:-1]:
            self.assertEqual((entry.local.extra, entry.central.extra), (b"", b""), entry.name)

    def test_data_crc_and_times_match_the_product_folder(self):
        for entry, name in zip(self.entries, self.names):
            with self.subTest(entry=name):
                path = os.path.join(ARGS.product_dir, name)
                content = entry.content()
                if name.endswith("/"):
                    self.assertTrue(os.path.isdir(path))
                else:
                    with open(path, "rb") as source:
                        self.assertEqual(content, source.read())
                    self.assertEqual(entry.central.size, len(content))
                    self.assertEqual(entry.central.crc, zlib.crc32(content))
                date, clock = zip_layout.dos_date_time(int(os.stat(path).st_mtime))
                self.assertEqual((entry.central.dos_date, entry.central.dos_time), (date, clock))

    def test_archive_comment_present_and_closing_the_archive(self):
        self.assertGreater(len(self.archive.comment), 0)
        self.assertTrue(self.data.endswith(self.archive.comment))
        self.archive.comment.decode("gbk")

    def test_names_fit_the_installers_limit(self):
        self.assertLess(max(len(e.name) for e in self.entries), 260)

    def test_zipfile_module_reads_it_whole(self):
        with zipfile.ZipFile(ARGS.archive) as archive:
            self.assertIsNone(archive.testzip())
            self.assertEqual(len(archive.infolist()), len(self.entries))


class DemoProduct(unittest.TestCase):
    """The demo product's archive has the eleven entries of the installer's
    design: their kinds, in this order, one folder with one file in it."""
    KINDS = [".dll", ".exe", ".ini", ".dll", "/", ".ini", ".dll", ".txt", ".txt", ".mht", ".exe"]

    @classmethod
    def setUpClass(cls):
        with open(ARGS.archive, "rb") as archive:
            cls.entries = zip_layout.parse(archive.read()).entries
        cls.names = [e.name.decode("gbk") for e in cls.entries]

    def test_eleven_entries_of_the_designed_kinds(self):
        self.assertEqual(len(self.names), 11)
        for name, kind in zip(self.names, self.KINDS):
            self.assertTrue(name.lower().endswith(kind), (name, kind))

    def test_one_folder_under_the_root_right_before_its_one_file(self):
        folders = [n for n in self.names if n.endswith("/")]
        self.assertEqual(folders, [self.names[4]])
        self.assertEqual(self.names[4].count("/"), 1)
        inside = [n for n in self.names if n.startswith(self.names[4]) and n != self.names[4]]
        self.assertEqual(inside, [self.names[5]])
        for name in self.names[:4] + self.names[6:]:
            self.assertNotIn("/", name)

    def test_some_names_are_chinese(self):
        self.assertTrue(any(any(ord(c) > 0x7F for c in n) for n in self.names))
        self.assertIn("配置/", self.names)
        self.assertIn("更新日志.txt", self.names)
        self.assertIn("安装说明.mht", self.names)

    def test_text_files_are_gbk_with_crlf_line_ends(self):
        for entry, name in zip(self.entries, self.names):
            if name.endswith((".ini", ".txt")):
                with self.subTest(entry=name):
                    text = entry.content().decode("gbk")
                    self.assertNotIn("\n", text.replace("\r\n", ""))

    def test_tutorial_is_an_illustrated_mhtml_document(self):
        document = email.message_from_bytes(self.entries[9].content())
        self.assertEqual(document.get_content_type(), "multipart/related")
        parts = [p for p in document.walk() if not p.is_multipart()]
        html = [p for p in parts if p.get_content_type() == "text/html"]
        pictures = [p for p in parts if p.get_content_maintype() == "image"]
        self.assertEqual(len(html), 1)
        self.assertGreaterEqual(len(pictures), 1)
        page = html[0].get_payload(decode=True).decode("gbk")
        for picture in pictures:
            self.assertTrue(picture.get_payload(decode=True).startswith(b"\x89PNG\r\n\x1a\n"))
            leaf = picture["Content-Location"].rsplit("/", 1)[-1]
            self.assertIn('src="%s"' % leaf, page)


class EmbeddedBlock(unittest.TestCase):
    """The installer's executable holds the block: 1, the length, the archive."""

    def test_program_carries_the_block(self):
        if not ARGS.program:
            self.skipTest("no program given")
        with open(ARGS.archive, "rb") as archive:
            data = archive.read()
        with open(ARGS.program, "rb") as program:
            image = program.read()
        block = struct.pack("<II", 1, len(data)) + data
        self.assertEqual(image.count(block), 1)
        self.assertGreater(len(image), len(block))


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--archive", required=True)
    parser.add_argument("--product-dir", required=True)
    parser.add_argument("--product", required=True)
    parser.add_argument("--manifest")
    parser.add_argument("--demo", action="store_true")
    parser.add_argument("--program")
    ARGS, rest = parser.parse_known_args()
    suite = unittest.TestSuite()
    loader = unittest.defaultTestLoader
    for case in (PayloadArchive, EmbeddedBlock) + ((DemoProduct,) if ARGS.demo else ()):
        suite.addTests(loader.loadTestsFromTestCase(case))
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
