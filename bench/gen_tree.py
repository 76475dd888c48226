#!/usr/bin/env python3
"""Makes a deterministic folder tree for the benchmark.

usage: gen_tree.py DIR FILES

About 6 files per folder and 8 subfolders per inner folder, mixed extensions, sparse files of
mixed sizes and spread dates of change. The same arguments always give the same tree.
"""
import os
import random
import sys

EXTENSIONS = [".mp3", ".jpg", ".txt", ".pdf", ".wav", ".png", ".doc", ".htm", ".MP3", ".flac",
              ".tar.gz", ""]
WORDS = ["Lied", "Bild", "notes", "Urlaub", "report", "Ärger", "mix", "A", "zeta", "file"]


def main():
    root, total = sys.argv[1], int(sys.argv[2])
    rng = random.Random(20261206)
    os.makedirs(root, exist_ok=True)
    folders = [root]
    made = 0
    index = 0
    while made < total:
        folder = folders[index % len(folders)]
        index += 1
        for _ in range(rng.randint(3, 9)):
            if made >= total:
                break
            name = "%s %d%s" % (rng.choice(WORDS), made, rng.choice(EXTENSIONS))
            path = os.path.join(folder, name)
            with open(path, "wb") as f:
                f.truncate(rng.choice([0, 1, 1024, 1025, 40000, 5000000, rng.randint(0, 1 << 30)]))
            stamp = 1100000000 + rng.randint(0, 600000000)
            os.utime(path, (stamp, stamp))
            made += 1
        if len(folders) * 6 < total:
            for j in range(8):
                sub = os.path.join(folder, "%s%d" % (rng.choice(["d", "Ordner ", "x"]), j))
                os.makedirs(sub, exist_ok=True)
                folders.append(sub)
    print("%d files in %d folders under %s" % (made, len(folders), root))


if __name__ == "__main__":
    main()
