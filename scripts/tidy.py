#!/usr/bin/env python3
"""Runs clang-tidy (checks in .clang-tidy) over the project's own translation units.

usage: tidy.py [--fix] [-j N] [--only PATTERN] BUILD_DIR:PATTERN...

Each BUILD_DIR holds a compile_commands.json; of its units, those whose path below the source tree
matches PATTERN (a regular expression, e.g. '(src|tests|tools)/') are checked. Generated units (moc,
resources, protocol code) live in the build folders and never match. Headers are checked through the
units that include them, once per unit, so no header is parsed on its own.

Without --fix the run prints each finding and fails if there is one. With --fix every unit's fixes are
collected first and applied once by clang-apply-replacements, so a header shared by many units is
edited once. --only narrows the units further (a pattern on the path below the source tree).
"""

import argparse
import json
import os
import re
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.realpath(__file__)))


def units(build_dir, pattern, only):
    with open(os.path.join(build_dir, "compile_commands.json")) as f:
        entries = json.load(f)
    wanted = re.compile(pattern)
    narrowed = re.compile(only or "")
    found = []
    for entry in entries:
        path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
        relative = os.path.relpath(path, SOURCE_DIR)
        if not relative.startswith(("..", "build" + os.sep)) and wanted.match(relative) and narrowed.search(relative):
            found.append(path)
    return sorted(set(found))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--fix", action="store_true")
    parser.add_argument("-j", type=int, default=os.cpu_count())
    parser.add_argument("--only")
    parser.add_argument("sets", nargs="+", metavar="BUILD_DIR:PATTERN")
    args = parser.parse_args()

    jobs = []
    for item in args.sets:
        build_dir, pattern = item.split(":", 1)
        jobs += [(build_dir, path) for path in units(build_dir, pattern, args.only)]
    if not jobs:
        sys.exit("tidy: no translation units found")

    with tempfile.TemporaryDirectory() as fixes:
        def run(job):
            index, (build_dir, path) = job
            # Anchored at the source tree, so that generated headers in the build folders (moc output,
            # protocol code) stay out whatever their folder names.
            header_filter = "^" + re.escape(SOURCE_DIR) + "/(src|tests|tools|resources|bench|fuzz)/"
            command = ["clang-tidy", "--quiet", f"--header-filter={header_filter}", "-p", build_dir, path]
            if args.fix:
                command.append(f"--export-fixes={fixes}/{index}.yaml")
            done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
            # clang-tidy counts the warnings it suppressed in other libraries' headers even when quiet.
            output = re.sub(r"^\d+ warnings? (and \d+ errors? )?generated\.\n", "", done.stdout, flags=re.M)
            return done.returncode, output

        failed = 0
        with ThreadPoolExecutor(max_workers=max(1, args.j)) as pool:
            for code, output in pool.map(run, enumerate(jobs)):
                if code != 0:
                    failed += 1
                    if not args.fix:
                        sys.stdout.write(output)
        if args.fix:
            subprocess.run(["clang-apply-replacements", "--format", "--style=file", fixes], check=True,
                           cwd=SOURCE_DIR)
            print(f"tidy: fixes from {failed} of {len(jobs)} units applied")
            return 0
    print(f"tidy: {len(jobs)} units, {failed} with findings")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
