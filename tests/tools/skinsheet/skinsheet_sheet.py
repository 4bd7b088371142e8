#!/usr/bin/env python3
"""Runs vimbo-skinsheet (the first argument) on feature streams of its own, inside support/servers.py's
private desktop: a short stream gives a sheet of eight cells; a bad stream or page exits with 2."""
import os
import subprocess
import sys
import tempfile

import gi

gi.require_version("GdkPixbuf", "2.0")
from gi.repository import GdkPixbuf  # noqa: E402

TOOL = sys.argv[1]
BEAT = "__a(0.800,0.900,0.600,0.500,0.700,1.00,[0.9,0.8,0.7,0.6,0.5,0.4,0.3,0.2])\n"
PLAIN = "__a(0.500,0.400,0.300,0.400,0.400,0.00,[0.5,0.4,0.3,0.2,0.3,0.4,0.5,0.6])\n"
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(directory, stream, *options):
    path = os.path.join(directory, "features.txt")
    with open(path, "w") as file:
        file.write(stream)
    sheet = os.path.join(directory, "sheet.png")
    result = subprocess.run([TOOL, "--sheet", sheet, *options, path], capture_output=True, text=True, timeout=120)
    return result, sheet


def size(sheet):
    picture = GdkPixbuf.Pixbuf.new_from_file(sheet)
    return picture.get_width(), picture.get_height()


with tempfile.TemporaryDirectory() as directory:
    result, sheet = run(directory, "".join(BEAT if k % 20 == 0 else PLAIN for k in range(40)),
                        "--cell", "160x100", "--at", "0.5")
    check(result.returncode == 0, "a good stream: exit %d, %s" % (result.returncode, result.stderr))
    # Eight 160 x 100 cells, 8 pixels apart, each with a 30-pixel name band under it.
    check(result.returncode != 0 or size(sheet) == (4 * 168 + 8, 2 * 138 + 8), "the sheet's size")
    if os.path.exists(sheet):
        os.remove(sheet)

    result, sheet = run(directory, PLAIN + "__a(0.1,0.2,0.3,0.4,0.5,0.0,[0.1,x])\n")
    check(result.returncode == 2 and "line 2" in result.stderr, "a bad spectrum: " + result.stderr)
    result, sheet = run(directory, PLAIN, "--page", os.path.join(directory, "missing.html"))
    check(result.returncode == 2 and "missing.html" in result.stderr, "a missing page: " + result.stderr)
    check(not os.path.exists(sheet), "a refused run wrote a sheet")

for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
