#!/usr/bin/env python3
"""Checks every project include against the layer table of docs/architecture.md.

usage: check_layers.py [SOURCE_DIR]

The table "Targets and their links" says which targets each target links, publicly and privately. A
target's folder is the one whose CMakeLists.txt defines it, and its headers are named by that folder's
last component ("game/Game.h"). A file may include its own folder's headers, those of every target its
folder's targets link, and those their public links pass on, as the build lets it: a private link
stops there, a public one carries on.

Each `#include "x/..."` in a folder's .cpp and .h files whose "x" names another layer must be allowed
so; every other one is printed as FILE:LINE and the run fails. A folder under src/ that no row of the
table covers fails the run too, so that a new layer cannot escape the check by being left out of the
document.
"""

import os
import re
import sys

ROW = re.compile(r"^\|\s*`([^`]+)`[^|]*\|([^|]*)\|([^|]*)\|\s*$")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/[^"]*"')
DEFINITION = re.compile(r"\badd_(?:library|executable)\s*\(\s*([\w.+-]+)")
CODE_ROOTS = ("src", "tools", "resources")
SOURCE_ENDINGS = (".cpp", ".h")


def fail(message):
    print(f"check_layers: {message}", file=sys.stderr)
    sys.exit(2)


def names(cell):
    return [name.strip() for name in cell.split(",") if name.strip()]


def read_table(document):
    """{target: (public links, private links)} from the table under "Targets and their links"."""
    rows = {}
    with open(document, encoding="utf-8") as lines:
        in_section = False
        for line in lines:
            if line.startswith("## "):
                in_section = line.strip() == "## Targets and their links"
                continue
            match = ROW.match(line) if in_section else None
            if match:
                rows[match.group(1)] = (names(match.group(2)), names(match.group(3)))
    if not rows:
        fail(f"no rows found in the table of {document}")
    return rows


def target_of(link, rows):
    """The table's target a link names ("art drawing" is pipfield_art_drawing), or None for a library
    from outside the project (Qt, ICU, xcb, the generated images)."""
    name = "pipfield_" + link.replace(" ", "_")
    return name if name in rows else None


def target_folders(source_dir):
    """{target: folder relative to source_dir} for every target the build defines."""
    folders = {}
    for root in CODE_ROOTS:
        for folder, _, files in os.walk(os.path.join(source_dir, root)):
            if "CMakeLists.txt" not in files:
                continue
            with open(os.path.join(folder, "CMakeLists.txt"), encoding="utf-8") as cmake:
                for name in DEFINITION.findall(cmake.read()):
                    folders[name] = os.path.relpath(folder, source_dir)
    return folders


def allowed_layers(target, rows, folders):
    """The include prefixes a target's files may use."""

    def passed_on(name, seen):
        # What a target's users get from it: its own headers and, through its public links, theirs.
        if name in seen:
            return seen
        seen.add(name)
        for link in rows[name][0]:
            linked = target_of(link, rows)
            if linked:
                passed_on(linked, seen)
        return seen

    reachable = {target}
    public, private = rows[target]
    for link in public + private:
        linked = target_of(link, rows)
        if linked:
            passed_on(linked, reachable)
    return {os.path.basename(folders[name]) for name in reachable}


def source_files(folder):
    for root, _, files in os.walk(folder):
        for name in sorted(files):
            if name.endswith(SOURCE_ENDINGS):
                yield os.path.join(root, name)


def main():
    source_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(__file__)))
    rows = read_table(os.path.join(source_dir, "docs", "architecture.md"))
    defined = target_folders(source_dir)
    missing = [name for name in rows if name not in defined]
    if missing:
        fail("the table names targets the build does not define: " + ", ".join(missing))

    # A folder may hold several targets (the program's main() beside the application library).
    folders = {name: defined[name] for name in rows}
    may_include = {}
    for name, folder in folders.items():
        may_include.setdefault(folder, set()).update(allowed_layers(name, rows, folders))
    layers = {os.path.basename(folder) for folder in folders.values()}

    problems = 0
    src = os.path.join(source_dir, "src")
    for entry in sorted(os.listdir(src)):
        folder = os.path.join("src", entry)
        if os.path.isdir(os.path.join(source_dir, folder)) and folder not in may_include:
            print(f"{folder}: a folder of code that no row of the table in docs/architecture.md covers")
            problems += 1
    for folder, allowed in sorted(may_include.items()):
        for path in source_files(os.path.join(source_dir, folder)):
            shown = os.path.relpath(path, source_dir)
            with open(path, encoding="utf-8") as lines:
                for number, line in enumerate(lines, 1):
                    match = INCLUDE.match(line)
                    if match and match.group(1) in layers and match.group(1) not in allowed:
                        print(f'{shown}:{number}: includes "{match.group(1)}/..." which {folder} may not use')
                        problems += 1
    if problems:
        print(f"{problems} include(s) against the layers of docs/architecture.md", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
