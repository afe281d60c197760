#!/usr/bin/env python3
"""Writes a program's manual page (gzipped roff) from its own --help and --version.

    make-manpage.py PROGRAM --include SECTIONS --output NAME.1.gz

The help is read in the layout Qt's command-line parser prints: a "Usage:" line,
a description, then "Options:", "Arguments:" and (for folivox-cli) "Commands:"
blocks of two-space indented entries. Each command listed under "Commands:" is
asked for its own help ("PROGRAM COMMAND --help") and gets a subsection.

SECTIONS holds the prose the help has no room for, in blocks headed "[NAME]",
"[DESCRIPTION]", "[FILES]" and so on, written in roff. [NAME] replaces the
generated name line, [DESCRIPTION] is added to the generated description, every
other block follows the options, in file order.
"""
import argparse
import gzip
import os
import re
import subprocess
import sys
import tempfile


def run(program, args, home):
    env = dict(os.environ)
    # The programs may make their settings, log and runtime folders: keep them
    # out of the builder's home. No display is needed to print help.
    env.update(HOME=home, XDG_CONFIG_HOME=home + "/config", XDG_DATA_HOME=home + "/data",
               XDG_CACHE_HOME=home + "/cache", XDG_RUNTIME_DIR=home, QT_QPA_PLATFORM="offscreen",
               LC_ALL="C.UTF-8")
    env.pop("FOLIVOX_RESOURCES", None)
    env.pop("LANGUAGE", None)  # the manual pages are English, whatever the builder speaks
    done = subprocess.run([program] + args, env=env, capture_output=True, text=True, timeout=120)
    if done.returncode != 0:
        sys.exit("make-manpage: '%s %s' failed (%d): %s" % (program, " ".join(args), done.returncode, done.stderr))
    return done.stdout


class Help:
    """One --help text, cut into its parts."""

    def __init__(self, text):
        self.usage = ""
        self.description = []
        self.blocks = {}  # "Options" -> [(left, description)]
        self.notes = []
        lines = text.splitlines()
        block = None
        for line in lines:
            if line.startswith("Usage: "):
                self.usage = line[len("Usage: "):].strip()
                continue
            m = re.match(r"^(\w[\w ]*):$", line)
            if m:
                block = self.blocks.setdefault(m.group(1), [])
                continue
            if not line.strip():
                if block is None and self.description and self.description[-1]:
                    self.description.append("")
                continue
            if block is not None and line.startswith("  "):
                entry = re.match(r"^  (\S.*?)(?:\s{2,}(\S.*))?$", line)
                if line.startswith("   ") and block:
                    left, desc = block[-1]
                    block[-1] = (left, (desc + " " + line.strip()).strip())
                else:
                    block.append((entry.group(1), entry.group(2) or ""))
                continue
            if block is None:
                self.description.append(line.strip())
            else:
                self.notes.append(line.strip())
        while self.description and not self.description[-1]:
            self.description.pop()


def esc(text):
    """Plain text to roff: backslashes, option dashes and leading dots."""
    text = text.replace("\\", "\\e")
    text = re.sub(r"(^|[\s\[(|,])-", r"\1\\-", text)
    text = re.sub(r"(\\-)-", r"\1\\-", text)
    if text.startswith((".", "'")):
        text = "\\&" + text
    return text


def synopsis(words):
    """A usage line: the program and command in bold, placeholders in italics."""
    out = []
    for w in words.split():
        bare = w.strip("[].")
        if re.fullmatch(r"[A-Z][A-Z0-9_.]*", bare):
            out.append(esc(w).replace(bare, "\\fI" + bare + "\\fR"))
        else:
            out.append(esc(w))
    return " ".join(out)


def entry_left(left):
    """An option's names in bold and its value in italics: "-o, --output <DIR>"."""
    parts = []
    for piece in left.split(", "):
        m = re.match(r"^(\S+)(?: <(.+)>)?$", piece)
        if not m:
            parts.append(esc(piece))
            continue
        name = m.group(1)
        if name.startswith("-"):
            text = "\\fB" + name.replace("-", "\\-") + "\\fR"
        else:
            text = "\\fI" + esc(name) + "\\fR"
        if m.group(2):
            text += " \\fI" + esc(m.group(2)) + "\\fR"
        parts.append(text)
    return ", ".join(parts)


def entries(items):
    out = []
    for left, desc in items:
        out += [".TP", entry_left(left), esc(desc)]
    return out


def paragraphs(lines):
    if not lines:
        return []
    out = [".PP"]
    for line in lines:
        out.append(".PP" if not line else esc(line))
    return out


def read_sections(path):
    sections, name = [], None
    with open(path, encoding="utf-8") as f:
        for line in f.read().splitlines():
            m = re.match(r"^\[([A-Z][A-Z ]*)\]$", line)
            if m:
                name = m.group(1)
                sections.append((name, []))
            elif name is not None:
                sections[-1][1].append(line)
    return [(n, "\n".join(body).strip("\n")) for n, body in sections]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program")
    parser.add_argument("--include", required=True)
    parser.add_argument("--output", required=True)
    opts = parser.parse_args()

    name = os.path.basename(opts.program)
    with tempfile.TemporaryDirectory(prefix="make-manpage-") as home:
        version = run(opts.program, ["--version"], home).split()[-1]
        top = Help(run(opts.program, ["--help"], home))
        commands = []
        for left, _ in top.blocks.get("Commands", []):
            command = left.split()[0]
            commands.append((command, Help(run(opts.program, [command, "--help"], home))))

    extra = read_sections(opts.include)
    extra_text = dict(extra)

    def usage_line(usage):
        # Qt prints argv[0]; name the program as users type it.
        words = usage.split(None, 1)
        rest = words[1] if len(words) > 1 else ""
        command = rest.split(None, 1)[0] if rest and re.fullmatch(r"[a-z][a-z-]*", rest.split()[0]) else ""
        args = rest[len(command):].strip()
        bold = name + (" " + command if command else "")
        return [".B " + esc(bold)] + ([synopsis(args)] if args else [])

    roff = ['.TH "%s" "1" "" "Folivox %s" "User Commands"' % (name.upper(), version)]
    roff += [".SH NAME", extra_text.get("NAME", esc(name))]
    roff += [".SH SYNOPSIS"]
    usages = [c.usage for _, c in commands] or [top.usage]
    for i, usage in enumerate(usages):
        if i:
            roff.append(".br")
        roff += usage_line(usage)
    roff += [".SH DESCRIPTION"]
    roff += paragraphs(top.description + ([""] if top.notes else []) + top.notes)
    if "DESCRIPTION" in extra_text:
        roff += [".PP", extra_text["DESCRIPTION"]]
    if commands:
        roff.append(".SH COMMANDS")
        for command, h in commands:
            roff += [".SS " + command] + usage_line(h.usage) + paragraphs(h.description)
            roff += entries(h.blocks.get("Options", []) + h.blocks.get("Arguments", []))
    options = top.blocks.get("Options", []) + top.blocks.get("Arguments", [])
    if options:
        roff += [".SH OPTIONS"] + entries(options)
    for section, body in extra:
        if section not in ("NAME", "DESCRIPTION"):
            roff += [".SH " + section, body]

    text = "\n".join(line for line in roff if line is not None) + "\n"
    os.makedirs(os.path.dirname(os.path.abspath(opts.output)), exist_ok=True)
    # No name and no time in the gzip header, so the same help gives the same bytes.
    with open(opts.output, "wb") as f:
        f.write(gzip.compress(text.encode("utf-8"), compresslevel=9, mtime=0))


if __name__ == "__main__":
    main()
