#!/usr/bin/env bash
# Fails when a C++ file changed since the last formatting commit (the last one listed in
# .git-blame-ignore-revs) differs from .clang-format; scripts/format.sh FILE mends it.
# Skips (exit 77) without a git checkout, before a formatting commit is listed, or when
# the listed commit is not in this clone's history.
set -u
cd "$(dirname "$0")/../.." || exit 2
skip() { echo "format check skipped: $1"; exit 77; }

command -v git >/dev/null && git rev-parse --git-dir >/dev/null 2>&1 || skip "not a git checkout"
base=$(grep -E '^[0-9a-f]{7,40}' .git-blame-ignore-revs 2>/dev/null | tail -n 1 | cut -d' ' -f1)
[ -n "$base" ] || skip "no formatting commit listed in .git-blame-ignore-revs yet"
git cat-file -e "$base^{commit}" 2>/dev/null || skip "formatting commit $base is not in this clone"

mapfile -t files < <({ git diff --name-only --diff-filter=ACMR "$base" -- '*.cpp' '*.h'
                       git ls-files --others --exclude-standard -- '*.cpp' '*.h'; } | sort -u)
[ ${#files[@]} -eq 0 ] && exit 0
clang-format --style=file --dry-run -Werror "${files[@]}"
