#!/usr/bin/env python3
"""Fails when a text the user sees is not marked for translation, or a
translation is missing or broken. Runs lupdate over src/ into copies of the
.ts files (the originals stay as they are), then checks:
  - lupdate finds no new or changed text (every marked text is in the files),
    and warns about nothing (a tr() it cannot place is a text never translated);
  - no entry is unfinished, and each translation keeps the placeholders
    (%1, %L2, ...) of its source, so no argument is lost or shown raw;
  - no literal goes straight into a widget or a command-line error unmarked.
Usage: check_translations.py LUPDATE SOURCE_DIR"""
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

lupdate, root = sys.argv[1], pathlib.Path(sys.argv[2])
problems = []

with tempfile.TemporaryDirectory() as tmp:
    copies = []
    for ts in sorted((root / "translations").glob("*.ts")):
        copies.append(pathlib.Path(tmp) / ts.name)
        shutil.copy(ts, copies[-1])
    if not copies:
        problems.append("no .ts files in translations/")
    run = subprocess.run([lupdate, "-no-obsolete", "-locations", "none", str(root / "src"), "-ts", *map(str, copies)],
                         capture_output=True, text=True)
    out = run.stdout + run.stderr
    if run.returncode != 0:
        problems.append("lupdate failed:\n" + out)
    for line in out.splitlines():
        if re.search(r"warning|lacks Q_OBJECT|Cannot invoke|Discarding", line, re.I):
            problems.append("lupdate: " + line.strip())
        m = re.search(r"\((\d+) new and", line)
        if m and m.group(1) != "0":
            problems.append("lupdate: texts not in the translation files yet: " + line.strip())
        if re.search(r"Removed \d+ obsolete", line):
            problems.append("lupdate: translation files hold texts the sources no longer have: " + line.strip())
    for ts in copies:
        for ctx in ET.parse(ts).getroot().iter("context"):
            name = ctx.findtext("name")
            for msg in ctx.iter("message"):
                source = msg.findtext("source") or ""
                tr = msg.find("translation")
                text = "".join(tr.itertext()) if tr is not None else ""
                if tr is None or tr.get("type") in ("unfinished", "vanished", "obsolete") or not text:
                    problems.append(f"{ts.name}: {name}: unfinished: {source!r}")
                    continue
                want = sorted(set(re.findall(r"%L?\d", source)))
                have = sorted(set(re.findall(r"%L?\d", text)))
                if want != have:
                    problems.append(f"{ts.name}: {name}: placeholders {have} instead of {want}: {source!r}")

# Literals handed to what the user sees without tr(): widgets, dialogs, and the
# command-line tool's error lines. A literal counts when it holds words (a space
# after a word, or a capitalised word); a lone name such as "index" does not.
WORDS = r'"(?=[^"]*(?:[A-Za-z]{2} |\b[A-Z][a-z]))[^"]*"'
SINKS = re.compile(r"(setText|setWindowTitle|setToolTip|setPlaceholderText|setStatusTip|showMessage|setTitle|"
                   r"setLabelText|addAction|addMenu|addButton|QMessageBox::\w+|new Q(Label|PushButton|CheckBox|"
                   r"RadioButton|GroupBox|Action|Menu))\((?:[^()]*,\s*)?(QStringLiteral\()?" + WORDS)
CLI = re.compile(r"\b(fail|usageError)\(QStringLiteral\(" + WORDS)
for path in sorted((root / "src").rglob("*.cpp")):
    rel = path.relative_to(root).as_posix()
    gui = rel.startswith("src/app/") or "/gui/" in rel
    cli = rel.startswith("src/cli/")
    if not (gui or cli):
        continue
    for no, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if (gui and SINKS.search(line)) or (cli and CLI.search(line)):
            problems.append(f"{rel}:{no}: text not marked for translation: {line.strip()}")

for p in problems:
    print(p)
sys.exit(1 if problems else 0)
