#!/usr/bin/env python3
"""The installer's archive extracted under Wine by zipx (the extractor's
developer tool) gives back the product folder: the same files and folders,
byte for byte, with the files' times to the two seconds a DOS time holds.

  zipx_roundtrip.py WINE_RUN WINE_ROOT ZIPX ARCHIVE PRODUCT_DIR WORK_DIR"""
import os
import shutil
import subprocess
import sys
import unittest

ARGS = None


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def tree(root):
    """Relative paths of everything under root ("/" after folders)."""
    found = set()
    for folder, folders, files in os.walk(root):
        relative = os.path.relpath(folder, root)
        prefix = "" if relative == "." else relative + "/"
        found.update(prefix + name + "/" for name in folders)
        found.update(prefix + name for name in files)
    return found


class ZipxRoundTrip(unittest.TestCase):
    def test_extracts_the_product_folder_byte_identically(self):
        wine_run, wine_root, zipx, archive, product, work = ARGS
        shutil.rmtree(work, ignore_errors=True)
        os.makedirs(work)
        # Two new levels, one of them Chinese, as a user's install folder may be.
        target = os.path.join(work, "软件", "Dormivet")
        result = subprocess.run(
            [wine_run, "--root", wine_root, "--prefix", "payload_zipx", zipx,
             windows_path(archive), windows_path(target)],
            capture_output=True, timeout=240)
        output = result.stdout.decode("gbk", "replace").split()
        self.assertEqual(result.returncode, 0, result.stderr.decode("utf-8", "replace"))

        expected = tree(product)
        total = len(expected)
        percents = [str(int(i / total * 100)) for i in range(total)] + ["100"]
        self.assertEqual(output, percents + ["result", "1"])

        self.assertEqual(tree(target), expected)
        for name in sorted(expected):
            source = os.path.join(product, name)
            copy = os.path.join(target, name)
            if name.endswith("/"):
                continue
            with self.subTest(name=name):
                with open(source, "rb") as a, open(copy, "rb") as b:
                    self.assertEqual(a.read(), b.read())
                source_time = int(os.stat(source).st_mtime)
                self.assertEqual(int(os.stat(copy).st_mtime), source_time - source_time % 2)


if __name__ == "__main__":
    ARGS = sys.argv[1:7]
    del sys.argv[1:7]
    unittest.main(verbosity=2)
