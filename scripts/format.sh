#!/usr/bin/env bash
# Reformats every C++ file of the repository with clang-format and .clang-format.
# After a run over the whole tree, add its commit to .git-blame-ignore-revs.
# Usage: scripts/format.sh [FILE...]   (default: every tracked .cpp and .h file)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -eq 0 ]; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
  set -- "${files[@]}"
fi
clang-format -i --style=file "$@"
