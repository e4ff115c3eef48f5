#!/usr/bin/env python3
"""Reads every picture of the manifest that addin_core_tests exported with
ImageMagick and checks its size. Usage: CONVERT FOLDER"""
import os
import subprocess
import sys


def main(convert, folder):
    manifest = os.path.join(folder, "manifest.txt")
    if not os.path.exists(manifest):
        print("no manifest: addin_core_tests did not export its pictures")
        return 1
    failures = 0
    with open(manifest) as lines:
        for line in lines:
            name, width, height = line.split()
            run = subprocess.run([convert, os.path.join(folder, name), "-format", "%w %h", "info:"],
                                 capture_output=True, text=True)
            size = run.stdout.strip()
            status = "ok" if run.returncode == 0 and size == f"{width} {height}" else "FAILED"
            print(f"{name}: ImageMagick reads {size or run.stderr.strip()} (expected {width} {height}) {status}")
            failures += status != "ok"
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
