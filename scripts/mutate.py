#!/usr/bin/env python3
"""Mutation testing of the rules and the live game: which small faults do the tests notice?

Each mutant is one small fault a person could make in src/model or src/game: a comparison swapped
(< for <=, == for !=), an arithmetic operator swapped, an integer constant moved by one, a condition
negated, a statement or an early return removed. The mutant is built and that layer's tests are run
with a time limit; a failing test, a crash or a hang kills it. A mutant that does not compile is
stillborn and counts for nothing; the sample is filled with others instead.

The mutants are made in a copy of the sources under the build folder, never in the work tree, so an
interrupted run cannot leave one behind. The copy is built with the compiler cache, so a file put
back costs nothing to rebuild. A seed and a sample size make a run repeatable.

Usage: mutate.py [--seed N] [--sample N] [--layers model,game] [--timeout S] [--build DIR] [--list]
                 [--tests-at REVISION] [--sources-at REVISION]

--tests-at and --sources-at take tests/ or src/ from a revision instead of the work tree, so that two
suites can be judged on the very same mutants: the same sources, the tests from before and after a
change to them.
"""

import argparse
import dataclasses
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# What each layer's mutants are judged by: the test programs and how they run. The game's tests that
# need a full disk run on one (see tests/support/on-full-disk.sh); the others do not mind it.
LAYERS = {
    "model": {"sources": "src/model", "targets": ["model_tests"], "run": [["tests/model/model_tests"]]},
    "game": {
        "sources": "src/game",
        "targets": ["game_tests"],
        "run": [["bash", str(ROOT / "tests/support/on-full-disk.sh"), "tests/game/game_tests"]],
    },
}


@dataclasses.dataclass(frozen=True)
class Mutant:
    path: str  # relative to the root
    line: int  # counting from 1
    start: int  # column span in the line that is replaced
    end: int
    replacement: str
    description: str

    def apply(self, text: str) -> str:
        lines = text.split("\n")
        original = lines[self.line - 1]
        lines[self.line - 1] = original[: self.start] + self.replacement + original[self.end :]
        return "\n".join(lines)


# ---------------------------------------------------------------------------------------------------
# Finding the places to mutate

SWAPS = {
    "<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "==",
    "+": "-", "-": "+", "*": "/", "/": "*", "+=": "-=", "-=": "+=", "&&": "||", "||": "&&",
}
# A binary operator as clang-format writes it: a space on each side. Template brackets, pointers,
# references and unary signs have none, so they are never taken for one.
BINARY = re.compile(r"(?<= )(<=|>=|==|!=|\+=|-=|&&|\|\||<|>|\+|-|\*|/)(?= )")
INTEGER = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")
CONDITION = re.compile(r"\b(if|while) \(")
EARLY_RETURN = re.compile(r"^\s+return\b.*;\s*$")
STATEMENT = re.compile(r"^\s+[\w:.>\-\[\]()]+(\(.*\)|\s*[-+*/]?=\s*.+|\+\+|--);\s*$")


def blank_strings_and_comments(line: str, in_block: bool) -> tuple[str, bool]:
    """The line with string and character literals and comments turned into spaces, so that nothing in
    them is mutated; and whether a block comment is still open at its end."""
    out = []
    i = 0
    while i < len(line):
        if in_block:
            end = line.find("*/", i)
            if end < 0:
                out.append(" " * (len(line) - i))
                return "".join(out), True
            out.append(" " * (end + 2 - i))
            i = end + 2
            in_block = False
        elif line.startswith("//", i):
            out.append(" " * (len(line) - i))
            break
        elif line.startswith("/*", i):
            in_block = True
        elif line[i] in "\"'":
            quote = line[i]
            j = i + 1
            while j < len(line) and line[j] != quote:
                j += 2 if line[j] == "\\" else 1
            out.append(quote + " " * (min(j, len(line)) - i - 1) + (quote if j < len(line) else ""))
            i = j + 1
        else:
            out.append(line[i])
            i += 1
    return "".join(out), in_block


def matching_paren(code: str, open_at: int) -> int:
    depth = 0
    for i in range(open_at, len(code)):
        if code[i] == "(":
            depth += 1
        elif code[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def mutants_of(path: str, text: str) -> list[Mutant]:
    found = []
    in_block = False
    lines = text.split("\n")
    for number, raw in enumerate(lines, start=1):
        code, in_block = blank_strings_and_comments(raw, in_block)
        stripped = code.strip()
        if not stripped or stripped.startswith("#") or "static_assert" in code or "operator" in code:
            continue
        for m in BINARY.finditer(code):
            op = m.group(1)
            found.append(Mutant(path, number, m.start(), m.end(), SWAPS[op], f"'{op}' -> '{SWAPS[op]}'"))
        for m in INTEGER.finditer(code):
            value = int(m.group(1))
            found.append(Mutant(path, number, m.start(), m.end(), str(value + 1), f"{value} -> {value + 1}"))
            if value > 0:
                found.append(Mutant(path, number, m.start(), m.end(), str(value - 1), f"{value} -> {value - 1}"))
        for m in CONDITION.finditer(code):
            close = matching_paren(code, m.end() - 1)
            if close > 0:
                inner = raw[m.end() : close]
                found.append(Mutant(path, number, m.end(), close, f"!({inner})", f"{m.group(1)} condition negated"))
        if EARLY_RETURN.match(code) and number < len(lines) and lines[number].strip() == "}":
            # A return that closes an inner block (the function goes on after it) is an early one.
            indent = len(raw) - len(raw.lstrip())
            after = lines[number]
            if len(after) - len(after.lstrip()) >= 4 and indent >= 8:
                found.append(Mutant(path, number, 0, len(raw), "", "early return removed"))
        elif STATEMENT.match(code) and not stripped.startswith(("return", "const ", "auto ", "using ")):
            found.append(Mutant(path, number, 0, len(raw), "", "statement removed"))
    return found


def all_mutants(layer: str, base: Path) -> list[Mutant]:
    folder = base / LAYERS[layer]["sources"]
    found = []
    for source in sorted(folder.glob("*.cpp")) + sorted(folder.glob("*.h")):
        relative = str(source.relative_to(base))
        found += mutants_of(relative, source.read_text(encoding="utf-8"))
    return found


# ---------------------------------------------------------------------------------------------------
# The copy of the sources, its build and its tests


def tracked_files() -> list[str]:
    out = subprocess.run(["git", "ls-files", "-z"], cwd=ROOT, check=True, capture_output=True).stdout
    return [p for p in out.decode().split("\0") if p and (ROOT / p).is_file()]


def files_at(revision: str, folder: str) -> dict[str, bytes]:
    """The files under `folder` as they were at `revision`."""
    names = subprocess.run(["git", "ls-tree", "-r", "-z", "--name-only", revision, "--", folder], cwd=ROOT,
                           check=True, capture_output=True).stdout.decode().split("\0")
    return {name: subprocess.run(["git", "show", f"{revision}:{name}"], cwd=ROOT, check=True,
                                 capture_output=True).stdout for name in names if name}


def sync_copy(copy: Path, revisions: dict[str, str]) -> None:
    """Makes `copy` hold the work tree's tracked files as they are, except for the folders that
    `revisions` takes from a revision of their own, touching only the files that differ so that the
    build there stays up to date."""
    wanted: dict[str, bytes | None] = {p: None for p in tracked_files()}
    for folder, revision in revisions.items():
        wanted = {p: c for p, c in wanted.items() if not p.startswith(folder + "/")}
        wanted.update(files_at(revision, folder))
    for relative, content in wanted.items():
        target = copy / relative
        if content is None:
            content = (ROOT / relative).read_bytes()
        if target.is_file() and target.read_bytes() == content:
            continue
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(content)
    for target in list(copy.rglob("*")):
        if target.is_file() and str(target.relative_to(copy)) not in wanted:
            target.unlink()


def configure(copy: Path, build: Path) -> None:
    if (build / "build.ninja").exists():
        return
    launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []
    subprocess.run(
        ["cmake", "-S", str(copy), "-B", str(build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
         "-DCMAKE_CXX_FLAGS_DEBUG=-O0", "-DPIPFIELD_BENCH=OFF",
         # Listing each test program's tests after every link would cost a run of it per mutant.
         "-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST", *launcher],
        check=True, stdout=subprocess.DEVNULL)


def build_targets(build: Path, targets: list[str], jobs: int) -> bool:
    done = subprocess.run(["ninja", "-C", str(build), f"-j{jobs}", *targets],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return done.returncode == 0


def run_tests(build: Path, layer: str, timeout: float) -> str:
    """'passed', 'failed' or 'hung'."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", ASAN_OPTIONS="detect_leaks=0")
    for command in LAYERS[layer]["run"]:
        argv = [str(build / part) if part.startswith("tests/") else part for part in command]
        # In a session of its own, which ends whole: the full-disk wrapper runs the tests as its
        # grandchild, and a hung mutant must stop when it is judged or the run is interrupted, not
        # keep a processor busy for the rest of the run and after it.
        test = subprocess.Popen([*argv, "--gtest_fail_fast", "--gtest_brief=1"], cwd=build, env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        try:
            returncode = test.wait(timeout=timeout)
        except BaseException as ending:
            # Not reaped yet, so the group is still the test's own.
            os.killpg(test.pid, signal.SIGKILL)
            test.wait()
            if isinstance(ending, subprocess.TimeoutExpired):
                return "hung"
            raise
        if returncode != 0:
            return "failed"
    return "passed"


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--sample", type=int, default=100, help="mutants per layer")
    parser.add_argument("--layers", default="model,game")
    parser.add_argument("--timeout", type=float, default=0, help="seconds per test run (default: 4x the unmutated run, at least 20)")
    parser.add_argument("--build", default=str(ROOT / "build/mutate"))
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--list", action="store_true", help="only print the sampled mutants")
    parser.add_argument("--tests-at", metavar="REVISION", help="take tests/ as it was at REVISION")
    parser.add_argument("--sources-at", metavar="REVISION", help="take src/ as it was at REVISION")
    args = parser.parse_args()
    layers = [layer for layer in args.layers.split(",") if layer]
    for layer in layers:
        if layer not in LAYERS:
            parser.error(f"unknown layer {layer}; known: {', '.join(LAYERS)}")

    work = Path(args.build).resolve()
    copy, build = work / "tree", work / "build"
    copy.mkdir(parents=True, exist_ok=True)
    revisions = {folder: rev for folder, rev in (("tests", args.tests_at), ("src", args.sources_at)) if rev}
    sync_copy(copy, revisions)

    rng = random.Random(args.seed)
    # Every layer's candidates in a fixed order, shuffled by the seed: the sample is the first ones
    # that compile, so the same seed draws the same mutants as long as the sources are the same.
    candidates = {}
    for layer in layers:
        found = all_mutants(layer, copy)
        rng.shuffle(found)
        candidates[layer] = found
    if args.list:
        for layer in layers:
            for m in candidates[layer][: args.sample]:
                print(f"{m.path}:{m.line}: {m.description}")
        return 0

    print(f"building in {build}", flush=True)
    configure(copy, build)
    targets = sorted({t for layer in layers for t in LAYERS[layer]["targets"]})
    if not build_targets(build, targets, args.jobs):
        print("the unmutated sources do not build", file=sys.stderr)
        return 1
    timeouts = {}
    for layer in layers:
        started = time.monotonic()
        outcome = run_tests(build, layer, timeout=600)
        if outcome != "passed":
            print(f"the {layer} tests do not pass unmutated", file=sys.stderr)
            return 1
        timeouts[layer] = args.timeout or max(20.0, 4 * (time.monotonic() - started))

    results = {}
    started = time.monotonic()
    for layer in layers:
        killed, survived, stillborn = 0, [], 0
        tried = 0
        pending = candidates[layer]
        while pending and killed + len(survived) < args.sample:
            # Taken a file at a time, so that each file is put back and rebuilt once.
            need = args.sample - killed - len(survived)
            batch, pending = pending[:need], pending[need:]
            batch.sort(key=lambda m: (m.path, m.line, m.start))
            for m in batch:
                tried += 1
                target = copy / m.path
                original = target.read_text(encoding="utf-8")
                try:
                    target.write_text(m.apply(original), encoding="utf-8")
                    if not build_targets(build, LAYERS[layer]["targets"], args.jobs):
                        stillborn += 1
                        outcome = None
                    else:
                        outcome = run_tests(build, layer, timeouts[layer])
                finally:
                    target.write_text(original, encoding="utf-8")
                if outcome is None:
                    continue
                if outcome == "passed":
                    survived.append(m)
                else:
                    killed += 1
                print(f"  {layer} {killed + len(survived):3d}/{args.sample} {'survived' if outcome == 'passed' else outcome:8s} "
                      f"{m.path}:{m.line}: {m.description}", flush=True)
        results[layer] = (killed, survived, stillborn)
    build_targets(build, targets, args.jobs)

    print(f"\nseed {args.seed}, {args.sample} mutants per layer, {time.monotonic() - started:.0f} s")
    for layer in layers:
        killed, survived, stillborn = results[layer]
        total = killed + len(survived)
        rate = 100.0 * killed / total if total else 0.0
        print(f"{layer}: {killed} of {total} killed ({rate:.1f} %), {stillborn} did not compile")
    for layer in layers:
        for m in sorted(results[layer][1], key=lambda m: (m.path, m.line)):
            print(f"survived: {m.path}:{m.line}: {m.description}")
    return 0


if __name__ == "__main__":
    # Ended by the terminal or by kill, the mutant in the build copy is put back as on Ctrl-C: the
    # exception unwinds through the finally that restores the file.
    for ending in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(ending, lambda number, _frame: sys.exit(128 + number))
    sys.exit(main())
