#!/usr/bin/env bash
# Sets Kelvator up on Debian 12: installs the Debian packages that are missing, configures and
# builds, then starts the program ("run") or runs every test ("test").
#   bash tools/setup.sh run|test [build folder]
set -euo pipefail

mode=${1:-run}
top=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$top/build}

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-translations-l10n
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  fonts-liberation
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"

case "$mode" in
  run) exec "$build/kelvator" ;;
  test) cd "$build" && exec ctest --output-on-failure -j"$(nproc)" ;;
  *) echo "usage: $0 run|test [build folder]" >&2; exit 2 ;;
esac
