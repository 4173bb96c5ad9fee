#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ file differs from what
# clang-format makes of it (the style is in .clang-format). The version is
# the one tools/setup.sh installs, so every machine judges alike; format a
# file with `clang-format-14 -i <file>`.
set -euo pipefail
cd "$(dirname "$0")/.."
git rev-parse --git-dir >/dev/null  # the tracked files are git's
format=clang-format-14
if ! command -v "$format" >/dev/null; then
  echo "$format is missing: run tools/setup.sh" >&2
  exit 1
fi
unformatted=()
while IFS= read -r -d '' file; do
  if ! "$format" --dry-run --Werror "$file" >/dev/null 2>&1; then
    unformatted+=("$file")
  fi
done < <(git ls-files -z -- '*.h' '*.hpp' '*.c' '*.cpp')
if [ ${#unformatted[@]} -ne 0 ]; then
  echo "Not formatted (run $format -i on them):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "Every tracked C++ file is formatted ($("$format" --version))"
