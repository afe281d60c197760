#!/usr/bin/env bash
# Fails when an identifier in the C++ or player sources contains a known misspelt word
# and is not one of the historical names docs/NAMES.md lists as kept.
# Usage: check_names.sh [REPOSITORY_ROOT]
set -u
cd "${1:-$(dirname "$0")/../..}" || exit 2
exec python3 - <<'PY'
import pathlib, re, sys

MISSPELT = {"prepaire", "ouput", "selecte", "sytle", "geneate", "stoped", "diractory", "nomal", "zoomend"}
allowed = set()
for line in pathlib.Path("docs/NAMES.md").read_text(encoding="utf-8").splitlines():
    if line.rstrip().endswith("| kept |"):
        allowed.update(re.findall(r"`(\w+)`", line))

def words(identifier):
    spaced = re.sub(r"([a-z0-9])([A-Z])", r"\1 \2", identifier)
    spaced = re.sub(r"([A-Z]+)([A-Z][a-z])", r"\1 \2", spaced)
    return {w.lower() for w in re.split(r"[\s_0-9]+", spaced) if w}

roots = [("src", "*.h"), ("src", "*.cpp"), ("tests", "*.h"), ("tests", "*.cpp"), ("bench", "*.cpp"),
         ("fuzz", "*.h"), ("fuzz", "*.cpp"), ("player/src", "*.js"), ("player/tools", "*.js"), ("player/test", "*.js")]
bad = 0
for folder, pattern in roots:
    for path in sorted(pathlib.Path(folder).rglob(pattern)):
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            for identifier in set(re.findall(r"[A-Za-z_][A-Za-z0-9_]*", line)):
                if identifier in allowed or not words(identifier) & MISSPELT:
                    continue
                print(f"{path}:{number}: {identifier}: misspelt (docs/NAMES.md)")
                bad = 1
sys.exit(bad)
PY
