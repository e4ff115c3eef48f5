#!/usr/bin/env python3
"""Reads every file of the manifest that imaging_tests wrote with ImageMagick
and compares the RGBA pixels with the .expect file beside it, within the
listed tolerance. Usage: CONVERT FOLDER"""
import os
import subprocess
import sys


def main(convert, folder):
    manifest = os.path.join(folder, "manifest.txt")
    if not os.path.exists(manifest):
        print("no manifest: imaging_tests did not write its files")
        return 1
    failures = 0
    with open(manifest) as lines:
        for line in lines:
            name, tolerance = line.split()
            path = os.path.join(folder, name)
            with open(path + ".expect", "rb") as f:
                expected = f.read()
            run = subprocess.run([convert, path, "-depth", "8", "rgba:-"], capture_output=True)
            actual = run.stdout
            if run.returncode != 0 or len(actual) != len(expected):
                print(f"{name}: ImageMagick read {len(actual)} bytes, expected {len(expected)}: "
                      f"{run.stderr.decode(errors='replace').strip()}")
                failures += 1
                continue
            worst = max(abs(a - b) for a, b in zip(actual, expected))
            status = "ok" if worst <= int(tolerance) else "FAILED"
            print(f"{name}: largest difference {worst} (allowed {tolerance}) {status}")
            failures += status != "ok"
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
