#!/usr/bin/env bash
# Checks what a compiler does not: every C++ file is formatted as .clang-format says.
#   bash tools/check_sources.sh
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
status=0

mapfile -t sources < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h')
if ! report=$(clang-format --dry-run -Werror "${sources[@]}" 2>&1); then
  head -n 40 <<<"$report" >&2
  echo "format: run clang-format -i on the files above" >&2
  status=1
fi

[ "$status" -eq 0 ] && echo "sources: ${#sources[@]} files formatted"
exit "$status"
