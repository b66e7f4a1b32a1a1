#!/usr/bin/env python3
"""Runs clang-tidy (checks in .clang-tidy) over the project's own translation units.

usage: tidy.py [--fix] [-j N] [--only PATTERN] [--group N] BUILD_DIR:PATTERN...

Each BUILD_DIR holds a compile_commands.json; of its units, those whose path below the source tree
matches PATTERN (a regular expression, e.g. '(src|tests|tools)/') are checked. Generated units (moc,
resources, protocol code) live in the build folders and never match. Headers are checked through the
units that include them, once per unit, so no header is parsed on its own.

Most of clang-tidy's time goes to Qt's and GoogleTest's headers, which every unit parses and every check
walks again. So units are checked in groups: up to --group units (40 by default) whose compile commands
agree except for include folders and compatible definitions are included into one generated unit under
build/tidy and checked together, which parses those headers once a group. A group is a shortcut, never a
judge: a group that does not compile as one (two files defining the same local name) loses the units that
clash, which form groups of their own; a group that reports anything is halved until the units with findings
are checked alone with their own commands, and those results are the ones printed or fixed.
--group 1 checks every unit on its own.

Without --fix the run prints each finding and fails if there is one. With --fix every unit's fixes are
collected first and applied once by clang-apply-replacements, so a header shared by many units is
edited once. --only narrows the units further (a pattern on the path below the source tree).
"""

import argparse
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.realpath(__file__)))
GROUP_DIR = os.path.join(SOURCE_DIR, "build", "tidy")
MAIN = re.compile(r"^int main\s*\(", re.M)
CLANG = "clang++"
# Anchored at the source tree, so that generated headers in the build folders (moc output, protocol code)
# stay out whatever their folder names.
HEADER_FILTER = "^" + re.escape(SOURCE_DIR) + "/(src|tests|tools|resources|bench|fuzz)/"


def without_pch(words):
    """A compile command without the precompiled header that CMake gives GCC builds (cmake_pch.hxx, whose
    .gch beside it clang would try to read as its own). Every unit includes what it uses, so it compiles
    without one; checking it so is what finds a unit that does not."""
    kept = []
    rest = iter(words)
    for word in rest:
        if word == "-include":
            header = next(rest)
            if os.path.basename(header) != "cmake_pch.hxx":
                kept += [word, header]
        elif word != "-Winvalid-pch":
            kept.append(word)
    return kept


UNITY_SOURCE = re.compile(r"^unity_\d+_cxx\.cxx$")
UNITY_INCLUDE = re.compile(r'^#include "(.+)"$', re.M)


def unity_members(entry):
    """A unity build's generated unit stands for the files it includes, each checked with its command."""
    source = os.path.join(entry["directory"], entry["file"])
    if not UNITY_SOURCE.match(os.path.basename(source)):
        return [entry]
    with open(source) as f:
        members = UNITY_INCLUDE.findall(f.read())
    unity = os.path.realpath(source)
    return [{"directory": entry["directory"], "file": member,
             "arguments": [member if os.path.realpath(os.path.join(entry["directory"], word)) == unity else word
                           for word in entry["arguments"]]} for member in members]


class Unit:
    def __init__(self, build_dir, database, entry, path):
        self.build_dir = build_dir
        self.database = database
        self.path = path
        self.directory = entry["directory"]
        words = entry["arguments"]
        self.includes, self.definitions, self.others = [], [], []
        rest = iter(words)
        for word in rest:
            if word == "-o":
                next(rest)
            elif word in ("-isystem", "-I"):
                self.includes.append(word + next(rest))
            elif word.startswith(("-I", "-isystem")):
                self.includes.append(word)
            elif word.startswith("-D"):
                self.definitions.append(word)
            elif word != "-c" and os.path.realpath(os.path.join(self.directory, word)) != path:
                self.others.append(word)
        with open(path, errors="replace") as f:
            self.has_main = MAIN.search(f.read()) is not None
        # Code generation flags do not change what clang-tidy sees.
        self.key = (build_dir, self.directory, tuple(w for w in self.others if not w.startswith(("-f", "-O", "-g"))))


def units(build_dir, pattern, only):
    """The build folder's units that match, and the compilation database clang-tidy checks them with: the
    build's own, each command without a precompiled header, under build/tidy."""
    with open(os.path.join(build_dir, "compile_commands.json")) as f:
        entries = json.load(f)
    for entry in entries:
        entry["arguments"] = without_pch(shlex.split(entry.pop("command")) if "command" in entry
                                         else list(entry["arguments"]))
    entries = [member for entry in entries for member in unity_members(entry)]
    database = os.path.join(GROUP_DIR, "database", re.sub(r"[^\w.-]", "_", os.path.relpath(build_dir, SOURCE_DIR)))
    os.makedirs(database, exist_ok=True)
    with open(os.path.join(database, "compile_commands.json"), "w") as f:
        json.dump(entries, f)
    wanted = re.compile(pattern)
    narrowed = re.compile(only or "")
    found = {}
    for entry in entries:
        path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
        relative = os.path.relpath(path, SOURCE_DIR)
        if not relative.startswith(("..", "build" + os.sep)) and wanted.match(relative) and narrowed.search(relative):
            found.setdefault(path, Unit(build_dir, database, entry, path))
    return [found[p] for p in sorted(found)]


def definition_name(flag):
    return flag[2:].split("=", 1)[0]


# Definitions whose value only tells a test where its files are: a group takes its first member's.
ANY_VALUE = {"QT_TESTCASE_BUILDDIR", "QT_TESTCASE_SOURCEDIR"}


def agrees(group, unit):
    if group[0].key != unit.key:
        return False
    values = {definition_name(d): d for member in group for d in member.definitions}
    return all(values.get(name, d) == d for d in unit.definitions if (name := definition_name(d)) not in ANY_VALUE)


def make_groups(all_units, size):
    """Groups of at most size units whose commands agree. Each unit goes to the next group in turn rather
    than filling one group first: neighbours in the tree tend to share local names, which cannot meet in one
    unit."""
    kinds = []
    for unit in all_units:
        kind = next((k for k in kinds if agrees(k, unit)), None)
        if kind is None:
            kinds.append([unit])
        else:
            kind.append(unit)
    groups = []
    for kind in kinds:
        count = -(-len(kind) // size)
        groups += [kind[n::count] for n in range(count)]
    return groups


def ordered_union(lists):
    seen = []
    for items in lists:
        for item in items:
            if item not in seen:
                seen.append(item)
    return seen


class Group(list):
    """Units checked as one: a generated unit that includes their files, with a compilation database of its own."""

    def __init__(self, name, members):
        super().__init__(members)
        self.name = name

    def write(self):
        """Writes the group's unit and database as the group now stands; returns their folder and the unit."""
        folder = os.path.join(GROUP_DIR, self.name)
        source = os.path.join(folder, "group.cpp")
        os.makedirs(folder, exist_ok=True)
        with open(source, "w") as f:
            for n, unit in enumerate(self):
                # Programs' entry points take a name of their own, so that several fit in one unit. Three
                # lines a member, so that member n is included on line 3n + 2.
                f.write(f"#define main tidy_main_{n}\n" if unit.has_main else "\n")
                f.write(f'#include "{unit.path}" // NOLINT(bugprone-suspicious-include)\n')
                f.write("#undef main\n" if unit.has_main else "\n")
        with open(os.path.join(folder, "compile_commands.json"), "w") as f:
            json.dump([{"directory": self[0].directory, "command": shlex.join(self.command(source)), "file": source}], f)
        return folder, source

    def command(self, source):
        first = self[0]
        definitions = {}
        for unit in self:
            for d in unit.definitions:
                definitions.setdefault(definition_name(d), d)
        return [first.others[0]] + list(definitions.values()) + \
            ordered_union(u.includes for u in self) + first.others[1:] + ["-c", source]


def conflicts(group):
    """The members that do not compile after the ones before them (a local name defined twice, a warning
    about a name another file declared), found by syntax-only passes of the group, each a third of the cost
    of a check. They leave the group, which is passed again until it compiles; an error that no member after
    the first can be blamed for sends the second half of the group away."""
    leaving = []
    while len(group) > 1:
        _, source = group.write()
        words = group.command(source)
        words[0] = CLANG
        done = subprocess.run(words + ["-fsyntax-only", "-ferror-limit=0"], cwd=group[0].directory,
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        if done.returncode == 0:
            break
        # Clang prints the include chain from the group's unit whenever it changes, so the chain last seen
        # before an error names the member that brought the error in.
        blamed, line = set(), None
        chain = re.compile("^In file included from " + re.escape(source) + r":(\d+):")
        for text in done.stdout.splitlines():
            found = chain.match(text)
            if found:
                line = int(found.group(1))
            elif ": error: " in text and line is not None:
                blamed.add(line)
        out = [unit for n, unit in enumerate(group) if 3 * n + 2 in blamed and n > 0] or group[len(group) // 2:]
        leaving += out
        group[:] = [unit for unit in group if unit not in out]
    return leaving


def tidy(database, path, fixes_file=None):
    command = ["clang-tidy", "--quiet", f"--header-filter={HEADER_FILTER}", "-p", database, path]
    if fixes_file:
        command.append(f"--export-fixes={fixes_file}")
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    # clang-tidy counts the warnings it suppressed in other libraries' headers even when quiet.
    output = re.sub(r"^\d+ warnings? (and \d+ errors? )?generated\.\n", "", done.stdout, flags=re.M)
    return done.returncode, output


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--fix", action="store_true")
    parser.add_argument("-j", type=int, default=os.cpu_count())
    parser.add_argument("--only")
    parser.add_argument("--group", type=int, default=40)
    parser.add_argument("sets", nargs="+", metavar="BUILD_DIR:PATTERN")
    args = parser.parse_args()

    all_units = []
    for item in args.sets:
        build_dir, pattern = item.split(":", 1)
        all_units += units(os.path.realpath(build_dir), pattern, args.only)
    if not all_units:
        sys.exit("tidy: no translation units found")
    size = max(1, args.group)

    with tempfile.TemporaryDirectory() as fixes, ThreadPoolExecutor(max_workers=max(1, args.j)) as pool:
        def one(unit):
            return tidy(unit.database, unit.path, f"{fixes}/{id(unit)}.yaml" if args.fix else None)

        def check(group):
            if len(group) == 1:
                return [one(group[0])]
            code, _ = tidy(*group.write())
            if code == 0:
                return [(0, "")] * len(group)
            # Halves until the units with findings stand alone, so that what is reported or fixed is exactly
            # a unit's own. Units that compiled together still do when fewer.
            half = len(group) // 2
            return check(Group(group.name + "a", group[:half])) + check(Group(group.name + "b", group[half:]))

        groups = []
        waiting = all_units
        rounds = 0
        while waiting:
            rounds += 1
            formed = [Group(f"{rounds}.{n}", members) for n, members in enumerate(make_groups(waiting, size))]
            waiting = []
            for group, leaving in zip(formed, pool.map(conflicts, formed)):
                groups.append(group)
                waiting += leaving

        failed = 0
        for results in pool.map(check, groups):
            for code, output in results:
                if code != 0:
                    failed += 1
                    if not args.fix:
                        sys.stdout.write(output)
        if args.fix:
            subprocess.run(["clang-apply-replacements", "--format", "--style=file", fixes], check=True,
                           cwd=SOURCE_DIR)
            print(f"tidy: fixes from {failed} of {len(all_units)} units applied")
            return 0
    print(f"tidy: {len(all_units)} units in {len(groups)} groups after {rounds} rounds, {failed} with findings")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
