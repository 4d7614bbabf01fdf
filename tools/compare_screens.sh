#!/usr/bin/env bash
# Renders every page with the screens program of an earlier commit and of the work tree, in the
# desktop's palette and the dark one, at scale 1 and 2, and compares the images byte for byte.
# Prints each image that differs and exits 1 when any does, 0 when all are the same.
#   bash tools/compare_screens.sh [COMMIT]        (default: HEAD)
# The commit is built in a temporary folder; the work tree is built in build/.
set -euo pipefail
base=${1:-HEAD}
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
work=$(mktemp -d)
trap 'git -C "$top" worktree remove --force "$work/src" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

git -C "$top" worktree add --detach "$work/src" "$base" >/dev/null 2>&1
build() { # source folder, build folder
  cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$2" -j"$jobs" --target kelvator_screens >/dev/null
}
build "$work/src" "$work/build-base"
build "$top" "$top/build"

render() { # build folder, output folder, scale
  env QT_QPA_PLATFORM=offscreen TZ=Europe/Budapest LC_ALL=C.UTF-8 QT_LOGGING_RULES='qt.qpa.*=false' \
    QT_SCALE_FACTOR="$3" "$1/tests/kelvator_screens" "$2" >/dev/null 2>&1
}
differ=0; count=0
for scale in 1 2; do
  render "$work/build-base" "$work/base-$scale" "$scale"
  render "$top/build" "$work/this-$scale" "$scale"
  while IFS= read -r -d '' image; do
    name=${image#"$work/base-$scale/"}
    count=$((count + 1))
    if ! cmp -s "$image" "$work/this-$scale/$name"; then
      echo "differs at scale $scale: $name"
      differ=1
    fi
  done < <(find "$work/base-$scale" -name '*.png' -print0 | sort -z)
  # An image only the work tree renders is a difference too.
  while IFS= read -r -d '' image; do
    name=${image#"$work/this-$scale/"}
    [ -e "$work/base-$scale/$name" ] || { echo "new at scale $scale: $name"; differ=1; }
  done < <(find "$work/this-$scale" -name '*.png' -print0)
done
if [ "$differ" = 0 ]; then
  echo "all $count images are the same as at $(git -C "$top" rev-parse --short "$base")"
fi
exit "$differ"
