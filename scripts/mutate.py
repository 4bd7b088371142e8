#!/usr/bin/env python3
"""Mutation testing: how many plausible one-line faults do the tests catch?

Draws --count mutants at random (reproducibly for a --seed and a tree) from every candidate site
in the given source files, applies each in turn to a private copy of the tree, rebuilds only the
test programs that cover the file, runs them with a timeout and reports whether they noticed:
a failing or timing-out run kills the mutant; a mutant that does not compile is not counted.

Integration test programs run directly, without servers a CTest fixture might start for them.

The copy lives under the build directory (the tracked files of the working tree, refreshed on each
run and configured once), so an interrupted run never leaves a mutant in the real tree.

Operators: flip a comparison, swap && and ||, negate an if/while condition, swap + and - or * and /,
change a numeric literal, swap true and false, delete a statement (an assignment, a call, a
return/continue/break or a one-line guard). Comments, strings, preprocessor lines and
declarations are left alone.

Example:  scripts/mutate.py --seed 1 --count 40
          scripts/mutate.py --seed 2 --count 20 'src/core/util/*.cpp'
"""

import argparse
import fnmatch
import os
import random
import re
import shutil
import subprocess
import sys
import time
from collections import Counter, namedtuple
from decimal import Decimal
from pathlib import Path

DEFAULT_GLOBS = ["src/core/**/*.cpp", "src/linux/JsonFileDefaults.cpp"]
UNIT_TESTS = "vimbo_unit_tests"

Mutant = namedtuple("Mutant", "path line operator original changed")

SWAPS = [  # (operator name, pattern, replacement); binary operators carry clang-format's spaces
    ("comparison", " < ", [" <= ", " > "]), ("comparison", " <= ", [" < ", " >= "]),
    ("comparison", " > ", [" >= ", " < "]), ("comparison", " >= ", [" > ", " <= "]),
    ("comparison", " == ", [" != "]), ("comparison", " != ", [" == "]),
    ("logical", " && ", [" || "]), ("logical", " || ", [" && "]),
    ("arithmetic", " + ", [" - "]), ("arithmetic", " - ", [" + "]),
    ("arithmetic", " * ", [" / "]), ("arithmetic", " / ", [" * "]),
    ("arithmetic", " += ", [" -= "]), ("arithmetic", " -= ", [" += "]),
    ("arithmetic", " *= ", [" /= "]), ("arithmetic", " /= ", [" *= "]),
]
BOOLEAN = re.compile(r"\b(true|false)\b")
NUMBER = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+\.\d*|\.\d+|\d+)([eE][+-]?\d+)?([fFuUlL]*)(?![\w.])")
CONDITION = re.compile(r"\b(if|while) \(")
DECLARATION = re.compile(r"^\s*(namespace|using|class|struct|enum|template|typedef|public:|private:|protected:)\b"
                         r"|^\S.*\)\s*(const\s*)?(override\s*)?(noexcept\s*)?[{:]?$")
LOCAL_WITHOUT_VALUE = re.compile(r"^\s*[\w:<>,*& ]+ [\w\[\]]+;$")
ASSIGNMENT = re.compile(r"^\s*[\w.\->\[\]()*]+ ([-+*/|&]?=) .*;$")
CALL = re.compile(r"^\s*[\w:.\->]+(<[\w:, ]*>)?\(.*\);$")
JUMP = re.compile(r"^\s*(return|continue|break);$|^\s*(\+\+|--)?[\w.\->\[\]]+(\+\+|--)?;$")
GUARD = re.compile(r"^\s*if \(.*\) (return\b.*|continue|break);$")


def masked_lines(text):
    """The file's lines with comments, string and character literals blanked (same length)."""
    chars, i, n = list(text), 0, len(text)

    def find(what, start):
        found = text.find(what, start)
        return n if found < 0 else found

    while i < n:
        c = text[i]
        if text.startswith("//", i):
            begin, end, after = i, find("\n", i), 0
        elif text.startswith("/*", i):
            begin, end, after = i, find("*/", i + 2) + 2, 0
        elif c in "\"'" and not (c == "'" and text[i - 1].isalnum()):  # not a digit separator (1'000)
            begin = end = i + 1
            while end < n and text[end] != c:
                end += 2 if text[end] == "\\" else 1
            after = 1  # the closing quote
        else:
            i += 1
            continue
        for k in range(begin, min(end, n)):
            if chars[k] != "\n":
                chars[k] = " "
        i = end + after
    return "".join(chars).split("\n")


def bumped(literal, exponent, suffix):
    """A nearby different value: the last digit up by one (0.5 -> 0.6, 2 -> 3, 0x7F -> 0x80)."""
    if literal[:2].lower() == "0x":
        return "0x%X" % (int(literal, 16) + 1) + suffix
    if "." not in literal:
        return str(int(literal) + 1) + (exponent or "") + suffix
    value = Decimal(literal if not literal.endswith(".") else literal + "0")
    step = Decimal(1).scaleb(value.as_tuple().exponent)
    return str(value + step) + (exponent or "") + suffix


def statement_is_whole(lines, index):
    """True when the line is a complete statement whose removal leaves valid structure."""
    line = lines[index]
    if line.count("(") != line.count(")"):
        return False
    previous = next((l.strip() for l in reversed(lines[:index]) if l.strip()), "")
    return previous.endswith((";", "{", "}", ":"))


def line_mutants(path, lines, masked, index):
    """Every mutant of one line, in a fixed order."""
    code, line, found = masked[index], lines[index], []
    stripped = code.strip()
    if not stripped or stripped.startswith("#") or DECLARATION.search(code) or LOCAL_WITHOUT_VALUE.match(code):
        return found

    def add(operator, start, end, replacement):
        found.append(Mutant(path, index + 1, operator, line, line[:start] + replacement + line[end:]))

    for operator, pattern, replacements in SWAPS:
        for match in re.finditer(re.escape(pattern), code):
            for replacement in replacements:
                add(operator, match.start(), match.end(), replacement)
    for match in BOOLEAN.finditer(code):
        add("boolean", match.start(), match.end(), "false" if match.group() == "true" else "true")
    for match in NUMBER.finditer(code):
        add("literal", match.start(), match.end(), bumped(*match.groups()))
    for match in CONDITION.finditer(code):
        depth, start = 0, match.end() - 1
        for end in range(start, len(code)):
            depth += {"(": 1, ")": -1}.get(code[end], 0)
            if depth == 0:
                add("negation", start, end + 1, "(!" + line[start:end + 1] + ")")
                break
    deletable = ASSIGNMENT.match(code) or CALL.match(code) or JUMP.match(code) or GUARD.match(code)
    if deletable and not stripped.startswith(("const ", "auto ", "static ")) and statement_is_whole(masked, index):
        found.append(Mutant(path, index + 1, "deletion", line, ""))
    return found


def candidate_mutants(root, globs):
    files = sorted(p for p in tracked_files(root) if any(fnmatch.fnmatch(p, g) or p == g for g in globs))
    mutants = []
    for path in files:
        text = (root / path).read_text()
        lines, masked = text.split("\n"), masked_lines(text)
        for index in range(len(lines)):
            mutants.extend(line_mutants(path, lines, masked, index))
    return mutants


def tracked_files(root):
    listing = subprocess.run(["git", "ls-files", "-z"], cwd=root, check=True, capture_output=True).stdout
    return [p for p in listing.decode().split("\0") if p and (root / p).is_file()]


def refresh_copy(root, copy):
    """Mirrors the tracked files into the copy, touching only what changed so builds stay warm."""
    wanted = set(tracked_files(root))
    for path in wanted:
        source, target = root / path, copy / path
        if not target.is_file() or target.read_bytes() != source.read_bytes():
            target.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy(source, target)  # a fresh time, so the build sees it
    for target in [p for p in copy.rglob("*") if p.is_file()]:
        if str(target.relative_to(copy)) not in wanted:
            target.unlink()


def test_programs(tree, path):
    """(target, path of the program in the build) of the test programs that cover a source file: the
    unit tests for the core, else the integration test programs whose sources include its header."""
    if path.startswith("src/core/"):
        return [(UNIT_TESTS, Path("tests") / UNIT_TESTS)]
    header = "linux/" + Path(path).stem + ".h"
    programs = []
    for lists in sorted((tree / "tests/integration").glob("*/CMakeLists.txt")):
        folder = lists.parent
        if any(header in f.read_text(errors="replace") for f in folder.glob("*.cpp")):
            for target in re.findall(r"add_executable\((\w+)", lists.read_text()):
                programs.append((target, folder.relative_to(tree) / target))
    return programs


class Runner:
    def __init__(self, args, copy, build):
        self.args, self.copy, self.build = args, copy, build

    def compiles(self, targets):
        command = ["cmake", "--build", str(self.build), "-j", str(self.args.jobs), "--target", *targets]
        return subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0

    def passes(self, programs, timeout):
        for _, program in programs:
            process = subprocess.Popen([str(self.build / program), "--gtest_brief=1", "--gtest_fail_fast"],
                                       cwd=self.build, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                       start_new_session=True)
            try:
                if process.wait(timeout=timeout) != 0:
                    return False
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, 9)
                process.wait()
                return False
        return True

    def verdict(self, mutant, timeout):
        """'killed', 'survived' or 'uncompilable'; the file is restored whatever happens."""
        target = self.copy / mutant.path
        original = target.read_text()
        lines = original.split("\n")
        lines[mutant.line - 1] = mutant.changed
        programs = test_programs(self.copy, mutant.path)
        try:
            target.write_text("\n".join(lines))
            if not self.compiles([t for t, _ in programs]):
                return "uncompilable"
            return "survived" if self.passes(programs, timeout) else "killed"
        finally:
            target.write_text(original)


def subsystem(path):
    parts = Path(path).with_suffix("").parts
    return "/".join(parts[1:3]) if parts[1] == "core" else "/".join(parts[1:])


def prepare(args, root):
    build_dir = (root / args.build_dir).resolve()
    copy, build = build_dir / "tree", build_dir / "build"
    refresh_copy(root, copy)
    if not (build / "CMakeCache.txt").exists():
        subprocess.run(["cmake", "-S", str(copy), "-B", str(build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                        "-DVIMBO_WERROR=OFF", "-DVIMBO_SANITIZE=",
                        "-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST"],
                       check=True, stdout=subprocess.DEVNULL)
    return Runner(args, copy, build)


def baseline_timeout(runner, mutants):
    """Builds and runs every involved program unmutated; a run may take 3x as long, plus 10 s."""
    programs = sorted({p for m in mutants for p in test_programs(runner.copy, m.path)})
    if not programs or not runner.compiles([t for t, _ in programs]):
        sys.exit("mutate: the unmutated tree does not build its test programs")
    started = time.monotonic()
    if not runner.passes(programs, timeout=None):
        sys.exit("mutate: the unmutated tests fail; fix them first")
    return 3 * (time.monotonic() - started) + 10


def report(results):
    totals = {}
    for mutant, verdict in results:
        if verdict != "uncompilable":
            totals.setdefault(subsystem(mutant.path), Counter())[verdict] += 1
    overall = sum(totals.values(), Counter())
    print("\nscore (killed / compiled mutants):")
    for name, count in sorted(totals.items()) + [("overall", overall)]:
        compiled = count["killed"] + count["survived"]
        print(f"  {name:28} {count['killed']:3} / {compiled:3}  {100 * count['killed'] / compiled:5.1f} %")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("globs", nargs="*", default=DEFAULT_GLOBS, help="source files to mutate (git-style globs)")
    parser.add_argument("--seed", type=int, default=1, help="random seed of the sample (default 1)")
    parser.add_argument("--count", type=int, default=40, help="number of mutants to try (default 40)")
    parser.add_argument("--build-dir", default="build/mutate", help="private copy and build (default build/mutate)")
    parser.add_argument("--jobs", type=int, default=2, help="parallel compile jobs (default 2)")
    parser.add_argument("--list", action="store_true", help="only print the sampled mutants")
    args = parser.parse_args()
    root = Path(subprocess.run(["git", "rev-parse", "--show-toplevel"], check=True, capture_output=True,
                               text=True).stdout.strip())
    candidates = candidate_mutants(root, args.globs)
    untested = sorted({m.path for m in candidates if not test_programs(root, m.path)})
    if untested:
        print("no test program covers (left out): " + ", ".join(untested))
        candidates = [m for m in candidates if m.path not in untested]
    sample = random.Random(args.seed).sample(candidates, min(args.count, len(candidates)))
    print(f"{len(candidates)} candidate mutants, trying {len(sample)} (seed {args.seed})", flush=True)
    if args.list:
        for m in sample:
            print(f"{m.path}:{m.line}  {m.operator:10}  {m.changed.strip() or '(deleted) ' + m.original.strip()}")
        return
    runner = prepare(args, root)
    timeout = baseline_timeout(runner, sample)
    results = []
    for m in sample:
        verdict = runner.verdict(m, timeout)
        results.append((m, verdict))
        shown = m.changed.strip() or "(deleted) " + m.original.strip()
        print(f"{m.path}:{m.line}  {m.operator:10}  {shown}  {verdict}", flush=True)
    report(results)


if __name__ == "__main__":
    main()
