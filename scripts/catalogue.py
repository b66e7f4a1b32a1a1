#!/usr/bin/env python3
"""The catalogues of the program's texts, kept by lupdate.

    catalogue.py update [--new LANG] [--lupdate PATH]   bring every resources/translations/pipfield_*.ts up to
                                                       date with the texts of src/ (and start pipfield_LANG.ts)
    catalogue.py check [--lupdate PATH]                fail while a catalogue is not up to date or not translated

The Korean text is the key of every entry. lupdate reads it from three spellings: `Texts::ui("...")` in the Qt
layers (the class declares the context), `textKey("pipfield", "...")` in the rules and
`QT_TRANSLATE_NOOP("pipfield", "...")`. Every text has the one context "pipfield"; an entry filed elsewhere
would never be found when the program looks it up.
"""

import argparse
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

ROOT = pathlib.Path(__file__).resolve().parent.parent
FOLDER = ROOT / "resources" / "translations"
CONTEXT = "pipfield"

# Locations change with every edited line; without them the catalogue changes only when a text does.
LUPDATE_OPTIONS = [
    "-tr-function-alias", "tr+=ui,QT_TRANSLATE_NOOP+=textKey",
    "-source-language", "ko",
    "-locations", "none",
    "-no-obsolete",
    "-I", str(ROOT / "src"),
    str(ROOT / "src"),
]


def default_lupdate():
    try:
        bins = subprocess.run(["qtpaths6", "--query", "QT_HOST_BINS"], capture_output=True, text=True,
                              check=True).stdout.strip()
        return str(pathlib.Path(bins) / "lupdate")
    except (OSError, subprocess.CalledProcessError):
        return "lupdate"


def catalogues():
    return sorted(FOLDER.glob("pipfield_*.ts"))


def run_lupdate(lupdate, files):
    """lupdate over the sources into `files`; its warnings (a call it could not place), one a line."""
    result = subprocess.run([lupdate, *LUPDATE_OPTIONS, "-ts", *map(str, files)], capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"catalogue: lupdate failed:\n{result.stdout}{result.stderr}")
    # lupdate prints its progress on standard output, and on standard error only what it could not understand.
    return [line for line in result.stderr.splitlines() if line.strip()]


def messages(ts):
    """(context, source) -> translation, None where the entry is not translated yet."""
    result = {}
    for context in ElementTree.parse(ts).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            translation = message.find("translation")
            done = translation is not None and translation.get("type") is None and (translation.text or "")
            result[(name, message.findtext("source"))] = translation.text if done else None
    return result


def places(text):
    """The places a text fills in, "%1".."%9" and "%%", sorted: a translation fills the same ones."""
    return sorted(re.findall(r"%[0-9%]", text))


def hangul(text):
    return any("\uac00" <= c <= "\ud7a3" for c in text)


def quoted(key):
    context, source = key
    return f'"{source}"' if context == CONTEXT else f'"{source}" (filed under "{context}")'


def update(lupdate, new):
    files = catalogues()
    if new:
        if not re.fullmatch(r"[a-z]{2,3}(_[A-Z]{2})?", new):
            sys.exit(f"catalogue: {new!r} is not a language code such as de or pt_BR")
        files.append(FOLDER / f"pipfield_{new}.ts")
    warnings = run_lupdate(lupdate, files)
    for line in warnings:
        print(f"catalogue: {line}", file=sys.stderr)
    for ts in files:
        untranslated = [key for key, text in messages(ts).items() if text is None]
        print(f"{ts.relative_to(ROOT)}: {len(untranslated)} to translate")
    return 1 if warnings else 0


def check(lupdate):
    problems = []
    files = catalogues()
    if not files:
        problems.append(f"no catalogue in {FOLDER.relative_to(ROOT)}")
    with tempfile.TemporaryDirectory() as scratch:
        copies = [pathlib.Path(scratch) / ts.name for ts in files]
        for ts, copy in zip(files, copies):
            shutil.copyfile(ts, copy)
        warnings = run_lupdate(lupdate, copies) if files else []
        problems += [f"lupdate cannot place a text: {line}" for line in warnings]
        for ts, copy in zip(files, copies):
            name = ts.relative_to(ROOT)
            committed = messages(ts)
            current = messages(copy)
            problems += [f"{name}: not in the catalogue: {quoted(key)}" for key in current if key not in committed]
            problems += [f"{name}: no longer in the program: {quoted(key)}" for key in committed if key not in current]
            problems += [f"{name}: not translated: {quoted(key)}"
                         for key, text in committed.items() if text is None and key in current]
            problems += [f"{name}: fills other places than the Korean: {quoted(key)} -> \"{text}\""
                         for key, text in committed.items() if text is not None and places(text) != places(key[1])]
            problems += [f"{name}: still Korean: {quoted(key)} -> \"{text}\""
                         for key, text in committed.items() if text is not None and hangul(text)]
            problems += [f"{name}: in a context the program never looks in: {quoted(key)}"
                         for key in current if key[0] != CONTEXT]
    for problem in problems:
        print(problem)
    if problems:
        print("Bring the catalogues up to date with `make translations`, then translate what is new in Qt Linguist.")
        return 1
    print(f"{len(files)} catalogue(s) up to date and translated")
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("command", choices=["update", "check"])
    parser.add_argument("--lupdate", default=None, help="the lupdate program (default: Qt 6's)")
    parser.add_argument("--new", metavar="LANG", help="with update: start the catalogue of another language")
    args = parser.parse_args()
    lupdate = args.lupdate or default_lupdate()
    if args.command == "update":
        return update(lupdate, args.new)
    if args.new:
        parser.error("--new goes with update")
    return check(lupdate)


if __name__ == "__main__":
    sys.exit(main())
