#!/usr/bin/env bash
# Sets Kelvator up on Debian 12: installs the Debian packages that are missing, configures and
# builds, then starts the program ("run") or checks it ("test": every test, then every test
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then clang-tidy, then the Debian
# package) or makes the Debian package ("package": build/kelvator_<version>_amd64.deb).
#   bash tools/setup.sh run|test|package
set -euo pipefail

mode=${1:-run}
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build
jobs=$(nproc)

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-translations-l10n
  libgstreamer1.0-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good libpulse-dev
  fonts-liberation
)
# Checking: clang-tidy; the sound and notification tests start their own PulseAudio server and
# session bus.
[ "$mode" = test ] && packages+=(clang-tidy pulseaudio pulseaudio-utils dbus-daemon dbus-bin
  clang libclang-rt-14-dev)
# Making the package (shlibdeps, file types), and checking it (metadata validators, a display).
[ "$mode" = test ] || [ "$mode" = package ] && packages+=(dpkg-dev file)
[ "$mode" = test ] && packages+=(appstream desktop-file-utils xvfb xdotool)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  # sudo clears the environment, so the front end is handed to apt-get through env.
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
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
    bash "$top/tools/check_package.sh" "$build"
    ;;
  package)
    (cd "$build" && cpack -G DEB)
    ;;
  *)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
