#!/usr/bin/env bash
# Sets Kelvator up on Debian 12: installs the Debian packages that are missing, configures and
# builds, then starts the program ("run") or checks it ("test": every test, then every test
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then clang-tidy).
#   bash tools/setup.sh run|test
set -euo pipefail

mode=${1:-run}
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build
jobs=$(nproc)

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-translations-l10n
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  fonts-liberation
)
[ "$mode" = test ] && packages+=(clang-tidy clang libclang-rt-14-dev)

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
cmake --build "$build" -j"$jobs"

case "$mode" in
  run)
    exec "$build/kelvator"
    ;;
  test)
    (cd "$build" && ctest --output-on-failure -j"$jobs")
    cmake -S "$top" -B "$top/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVATOR_SANITIZE=ON
    cmake --build "$top/build-sanitize" -j"$jobs"
    (cd "$top/build-sanitize" && ctest --output-on-failure -j"$jobs")
    # The settings file reader under libFuzzer, briefly, from the golden file onwards.
    cmake -S "$top" -B "$top/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DKELVATOR_FUZZ=ON
    cmake --build "$top/build-fuzz" -j"$jobs" --target kelvator_fuzz_settings
    mkdir -p "$top/build-fuzz/corpus"
    "$top/build-fuzz/kelvator_fuzz_settings" -max_total_time=45 -timeout=10 -rss_limit_mb=4096 \
      "$top/build-fuzz/corpus" "$top/tests/data"
    run-clang-tidy -quiet -j "$jobs" -p "$build" \
      "^$top/(alarms|app|calendar|clocks|datecalc|events|settings|stopwatch|widgets|worktime|yearcal)/.*\.cpp$"
    echo "clang-tidy: no warnings"
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
