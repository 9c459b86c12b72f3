#!/usr/bin/env python3
"""The host packer on small product folders made here: what it refuses and
why, the order without a manifest, times, comments, and that a failed run
leaves no archive behind.

  packer_test.py PACKER"""
import os
import random
import shutil
import subprocess
import sys
import tempfile
import unittest
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import zip_layout  # noqa: E402

PACKER = None


def make_folder(root, entries):
    """entries: names relative to root; a trailing "/" makes a folder,
    anything else a small file whose content is its name."""
    for name in entries:
        path = os.path.join(root, name)
        if name.endswith("/"):
            os.makedirs(path, exist_ok=True)
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as out:
                out.write(name.encode("utf-8"))


class Packer(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.TemporaryDirectory()
        self.addCleanup(self.work.cleanup)
        self.folder = os.path.join(self.work.name, "product")
        self.output = os.path.join(self.work.name, "out.zip")
        os.makedirs(self.folder)

    def reset(self):
        shutil.rmtree(self.work.name)
        os.makedirs(self.folder)

    def pack(self, manifest=None, comment=None, env=None, deflate=None):
        command = [PACKER, "--product", "Dormivet", "--source", self.folder,
                   "--output", self.output]
        if deflate is not None:
            command += ["--deflate", deflate]
        if manifest is not None:
            path = os.path.join(self.work.name, "manifest.txt")
            with open(path, "w", encoding="utf-8") as out:
                out.write(manifest)
            command += ["--manifest", path]
        if comment is not None:
            command += ["--comment", comment]
        return subprocess.run(command, capture_output=True, text=True, env=env)

    def archive(self):
        with open(self.output, "rb") as archive:
            return zip_layout.parse(archive.read())

    def names(self):
        return [e.name.decode("gbk") for e in self.archive().entries]

    def test_refusals(self):
        long_folder = "d" * 200 + "/"
        cases = [
            # (what the folder holds, manifest or None, the reason given)
            (["readme.txt"], None, "has no Dormivet.exe at its root"),
            (["bin/Dormivet.exe"], None, "has no Dormivet.exe at its root"),
            (["dormivet.exe"], None, "has no Dormivet.exe at its root"),
            (["a.txt", "Dormivet.exe"], "Dormivet.exe\na.txt\n", "must be the last entry"),
            (["sub/x.txt", "Dormivet.exe"], "sub/x.txt\nsub/\nDormivet.exe\n",
             "comes before the directory entry \"sub/\""),
            (["sub/x.txt", "Dormivet.exe"], "sub/\nDormivet.exe\n",
             "leaves out what the product folder holds:\n  sub/x.txt"),
            (["Dormivet.exe"], "gone.txt\nDormivet.exe\n", "\"gone.txt\" does not exist"),
            (["a.txt", "Dormivet.exe"], "a.txt\na.txt\nDormivet.exe\n", "listed twice"),
            (["sub/x.txt", "Dormivet.exe"], "sub\nsub/x.txt\nDormivet.exe\n", "is a folder"),
            (["a.txt", "Dormivet.exe"], "a.txt/\nDormivet.exe\n", "is not a folder"),
            (["Dormivet.exe"], "../escape.txt\nDormivet.exe\n", "has a \"..\" path element"),
            (["Dormivet.exe"], "./Dormivet.exe\n", "has a \".\" path element"),
            (["Dormivet.exe"], "/etc/passwd\nDormivet.exe\n", "is not a relative path"),
            (["sub/x.txt", "Dormivet.exe"], "sub//x.txt\nDormivet.exe\n", "empty path element"),
            (["表情😀.txt", "Dormivet.exe"], None, "has a character that GBK cannot hold"),
            (["CON.txt", "Dormivet.exe"], None, "is a Windows device name"),
            (["lpt1", "Dormivet.exe"], None, "is a Windows device name"),
            (["sub/Aux/", "Dormivet.exe"], None, "is a Windows device name"),
            (["notes.", "Dormivet.exe"], None, "ending in a dot or a space"),
            (["notes ", "Dormivet.exe"], None, "ending in a dot or a space"),
            (["a:b.txt", "Dormivet.exe"], None, "does not allow"),
            (["back\\slash.txt", "Dormivet.exe"], None, "does not allow"),
            (["what?.txt", "Dormivet.exe"], None, "does not allow"),
            ([long_folder + "f" * 59, "Dormivet.exe"], None, "longer than 259 bytes"),
        ]
        for entries, manifest, reason in cases:
            with self.subTest(entries=entries, manifest=manifest):
                self.reset()
                make_folder(self.folder, entries)
                result = self.pack(manifest)
                self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
                self.assertIn(reason, result.stderr)
                self.assertTrue(result.stderr.startswith("packer: cannot pack "))
                # A failed run leaves nothing behind, not even a partial archive.
                self.assertEqual(sorted(os.listdir(self.work.name)),
                                 ["manifest.txt", "product"] if manifest is not None
                                 else ["product"])

    def test_a_name_of_259_bytes_is_taken(self):
        make_folder(self.folder, ["d" * 200 + "/" + "f" * 58, "Dormivet.exe"])
        result = self.pack()
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(max(len(e.name) for e in self.archive().entries), 259)

    def test_missing_product_folder_and_bad_usage(self):
        os.rmdir(self.folder)
        result = self.pack()
        self.assertEqual(result.returncode, 1)
        self.assertIn("does not exist", result.stderr)
        for arguments in ([], ["--product", "Dormivet"], ["--source"], ["--colour", "x"],
                          ["--product", "Dormivet", "--source", self.folder, "--output", self.output,
                           "--deflate", "bzip2"]):
            with self.subTest(arguments=arguments):
                result = subprocess.run([PACKER] + arguments, capture_output=True, text=True)
                self.assertEqual(result.returncode, 2)
                self.assertIn("usage: packer", result.stderr)

    def test_failure_keeps_an_earlier_archive(self):
        with open(self.output, "wb") as out:
            out.write(b"earlier")
        make_folder(self.folder, ["readme.txt"])
        self.assertEqual(self.pack().returncode, 1)
        with open(self.output, "rb") as archive:
            self.assertEqual(archive.read(), b"earlier")
        self.assertFalse(os.path.exists(self.output + ".partial"))

    def test_without_manifest_folders_first_names_sorted_executable_last(self):
        make_folder(self.folder, ["b.txt", "Dormivet.exe", "a/z.txt", "a/b/c.txt", "C.txt",
                                  "中文.txt", "empty/"])
        result = self.pack()
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.names(), ["C.txt", "a/", "a/b/", "a/b/c.txt", "a/z.txt", "b.txt",
                                        "empty/", "中文.txt", "Dormivet.exe"])
        self.assertIn("order: the folder's, names sorted, Dormivet.exe last", result.stdout)
        self.assertIn("9 entries (6 deflated, 3 folders stored)", result.stdout)

    def test_manifest_order_comments_crlf_lines_and_byte_order_mark(self):
        make_folder(self.folder, ["z.txt", "配置/设置.ini", "Dormivet.exe"])
        manifest = "\ufeffz.txt\r\n# order\r\n\r\n配置/\r\n配置/设置.ini\r\nDormivet.exe\r\n"
        result = self.pack(manifest)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.names(), ["z.txt", "配置/", "配置/设置.ini", "Dormivet.exe"])

    def test_unicode_path_block_names_the_last_entry_only(self):
        make_folder(self.folder, ["说明.txt", "Dormivet.exe"])
        self.assertEqual(self.pack().returncode, 0)
        entries = self.archive().entries
        self.assertEqual(zip_layout.unicode_path(entries[0], "local"), None)
        self.assertEqual(zip_layout.unicode_path(entries[0], "central"), None)
        for which in ("local", "central"):
            self.assertEqual(zip_layout.unicode_path(entries[1], which),
                             (1, zlib.crc32(b"Dormivet.exe"), b"Dormivet.exe"))

    def test_dos_times_are_utc_and_held_within_their_range(self):
        make_folder(self.folder, ["old.txt", "now.txt", "far.txt", "Dormivet.exe"])
        times = {
            "old.txt": (0, (0 << 9 | 1 << 5 | 1, 0)),                     # 1970 -> 1980-01-01
            "now.txt": (1710765297, (44 << 9 | 3 << 5 | 18, 12 << 11 | 34 << 5 | 28)),
            "far.txt": (7258118400, (127 << 9 | 12 << 5 | 31, 23 << 11 | 59 << 5 | 29)),
        }
        for name, (seconds, _) in times.items():
            os.utime(os.path.join(self.folder, name), (seconds, seconds))
        # The packer's own time zone must not move the times.
        result = self.pack(env=dict(os.environ, TZ="Asia/Shanghai"))
        self.assertEqual(result.returncode, 0, result.stderr)
        for entry in self.archive().entries:
            name = entry.name.decode("gbk")
            if name in times:
                with self.subTest(name=name):
                    self.assertEqual((entry.central.dos_date, entry.central.dos_time),
                                     times[name][1])

    def test_contents_round_trip_empty_and_large_files_with_either_encoder(self):
        generator = random.Random(7)
        large = b"".join(generator.randbytes(512) + b"Dormivet " * generator.randint(1, 400)
                         for _ in range(1500))
        make_folder(self.folder, ["Dormivet.exe"])
        for name, content in (("empty.dat", b""), ("large.dat", large)):
            with open(os.path.join(self.folder, name), "wb") as out:
                out.write(content)
        compressed = {}
        for deflate, description in ((None, "Zopfli, 15 iterations"), ("zlib", "zlib ")):
            with self.subTest(deflate=deflate):
                result = self.pack(deflate=deflate)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertIn("deflate: " + description, result.stdout)
                contents = {e.name: e for e in self.archive().entries}
                self.assertEqual(contents[b"empty.dat"].content(), b"")
                self.assertEqual(contents[b"empty.dat"].central.method, 8)
                self.assertEqual(contents[b"large.dat"].content(), large)
                compressed[deflate] = contents[b"large.dat"].central.compressed_size
        # Zopfli, the default, finds the shorter stream.
        self.assertLess(compressed[None], compressed["zlib"])
        self.assertLess(compressed["zlib"], len(large))

    def test_comment_is_stored_as_gbk_and_defaults_to_the_product_name(self):
        make_folder(self.folder, ["Dormivet.exe"])
        self.assertEqual(self.pack().returncode, 0)
        self.assertEqual(self.archive().comment, b"Dormivet")
        self.assertEqual(self.pack(comment="产品文件").returncode, 0)
        self.assertEqual(self.archive().comment, "产品文件".encode("gbk"))


if __name__ == "__main__":
    PACKER = sys.argv.pop(1)
    unittest.main(verbosity=2)
