#!/usr/bin/env bash
# Checks what a compiler does not:
#  - every C++ file is formatted as .clang-format says;
#  - the wall clock is read only by the real clock (tests and the benchmark set their own);
#  - no file outside app/ includes the window's header, but for the few still on the list below;
#  - nothing in the feature folders, the core, the pages or the platform includes anything of app/,
#    but for the same few files (they are still the window's code).
# What the libraries link is checked from the build: `ctest -R '_without_'` (the core links no Qt
# Widgets; the pages link no GStreamer, D-Bus, PulseAudio, platform or window library).
#   bash tools/check_sources.sh
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
status=0

# The files that read the system's wall clock; everything else asks the platform's clock.
clock_readers=(
  calendar/wall_clock.cpp
  platform/real_platform.cpp
)

# Files outside app/ that still include the window's header app/form_main.h. They leave it as
# their pages move into classes of their own, so this list only shrinks: never add a file to it.
window_header_allowed=(
  bench/kelvator_bench.cpp
  tests/screens.cpp
  tests/window_fixture.h
)

# Tracked files and new ones not yet added, so a check sees a file before its first commit.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t sources < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' |
    while IFS= read -r f; do [ -e "$f" ] && printf '%s\n' "$f"; done)
else
  mapfile -t sources < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print |
    sed 's|^\./||' | sort)
fi

listed() { # name, list...
  local name=$1 item
  shift
  for item in "$@"; do [ "$item" = "$name" ] && return 0; done
  return 1
}

if ! report=$(clang-format --dry-run -Werror "${sources[@]}" 2>&1); then
  head -n 40 <<<"$report" >&2
  echo "format: run clang-format -i on the files above" >&2
  status=1
fi

# The wall clock. Elapsed time (QElapsedTimer, std::chrono::steady_clock) is not the wall clock.
clock_calls='\b(currentDateTime(Utc)?|currentM?SecsSinceEpoch|currentDate|currentTime)[[:space:]]*\(|system_clock::now'
for f in "${sources[@]}"; do
  case "$f" in tests/* | bench/*) continue ;; esac
  listed "$f" "${clock_readers[@]}" && continue
  if hits=$(grep -nE "$clock_calls" "$f"); then
    sed "s|^|$f:|" <<<"$hits" >&2
    status=1
    clock_failed=1
  fi
done
[ -z "${clock_failed:-}" ] ||
  echo "clock: read the time through the platform's clock (platform().now()), not the system's" >&2

window_header='^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]*/)?form_main\.h[">]'
for f in "${sources[@]}"; do
  case "$f" in app/*) continue ;; esac
  if grep -qE "$window_header" "$f"; then
    if ! listed "$f" "${window_header_allowed[@]}"; then
      echo "$f: includes app/form_main.h; a page gets what it needs from its models and signals" >&2
      status=1
    fi
  fi
done
# The layers below the window: any header of app/ there makes the window's code part of them.
app_header='^[[:space:]]*#[[:space:]]*include[[:space:]]*["<](\.\./)*app/'
for f in "${sources[@]}"; do
  case "$f" in app/* | tests/* | bench/*) continue ;; esac
  listed "$f" "${window_header_allowed[@]}" && continue
  if hits=$(grep -nE "$app_header" "$f"); then
    sed "s|^|$f:|" <<<"$hits" >&2
    echo "$f: includes a header of app/; the window's code stays in app/, what others share goes below it" >&2
    status=1
  fi
done
for f in "${window_header_allowed[@]}"; do
  if [ ! -e "$f" ] || ! grep -qE "$window_header" "$f"; then
    echo "$f: no longer includes app/form_main.h; take it off window_header_allowed in $0" >&2
    status=1
  fi
done

[ "$status" -eq 0 ] && echo "sources: ${#sources[@]} files formatted, the clock, the window's header and app/ in place"
exit "$status"
