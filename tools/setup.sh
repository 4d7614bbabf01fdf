#!/usr/bin/env bash
# Sets Kelvator up on Debian 12: installs the Debian packages that are missing, configures and
# builds, then starts the program ("run") or checks it ("test": every test, then every test
# again under AddressSanitizer and UndefinedBehaviorSanitizer, the settings reader under a
# fuzzer, the Debian package, and clang-tidy beside all of it) or makes the Debian package
# ("package": build/kelvator_<version>_amd64.deb).
#   bash tools/setup.sh run|test|package
set -euo pipefail

mode=${1:-run}
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build
jobs=$(nproc)

packages=(
  cmake g++ make ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n
  libgstreamer1.0-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good libpulse-dev
  fonts-liberation
)
# Checking: clang-tidy; the sound and notification tests start their own PulseAudio server and
# session bus.
[ "$mode" = test ] && packages+=(clang-tidy clang-format pulseaudio pulseaudio-utils dbus-daemon dbus-bin
  clang libclang-rt-14-dev)
# Making the package (shlibdeps, file types), and checking it (metadata validators, a display).
[ "$mode" = test ] || [ "$mode" = package ] && packages+=(dpkg-dev file)
[ "$mode" = test ] && packages+=(appstream desktop-file-utils xvfb xdotool)
# The tray test's panel, a real StatusNotifierItem host, and its settings daemon.
[ "$mode" = test ] && packages+=(xfce4-panel xfconf)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  # sudo clears the environment, so the front end is handed to apt-get through env.
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update
  # Setting up to test, dpkg skips syncing each unpacked file to the disk: far quicker on a slow
  # or busy disk, and a crash midway only means installing again.
  unsafe_io=()
  [ "$mode" != test ] || unsafe_io=(-o Dpkg::Options::=--force-unsafe-io)
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${unsafe_io[@]}" \
    "${missing[@]}"
fi

# Ninja starts a target's compiles without waiting for the libraries it links; a build folder
# made before keeps its generator.
configure() {
  local folder=$1 generator=()
  shift
  [ -f "$folder/CMakeCache.txt" ] || generator=(-G Ninja)
  cmake -S "$top" -B "$folder" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
}

if [ "$mode" = test ]; then
  bash "$top/tools/check_sources.sh"
fi
configure "$build"
if [ "$mode" = test ]; then
  # clang-tidy needs only the compile commands (without the precompiled headers, which are
  # GCC's), so it starts now beside the rest at the lowest priority, on what the builds and
  # tests leave idle, and is waited for at the end.
  tidy=$top/build-tidy
  configure "$tidy" -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON >/dev/null
  setsid nice -n 19 run-clang-tidy -quiet -j "$jobs" -p "$tidy" \
    "^$top/(about|alarms|app|calendar|clocks|datecalc|events|exit|notice|platform|settings|stopwatch|tray|widgets|worktime|yearcal)/.*\.cpp$" \
    >"$tidy/clang-tidy.log" 2>&1 &
  tidy_pid=$!
  trap 'kill -- -"$tidy_pid" 2>/dev/null || true' EXIT
fi
cmake --build "$build" -j"$jobs"

case "$mode" in
  run)
    exec "$build/kelvator"
    ;;
  test)
    (cd "$build" && ctest --output-on-failure -j"$jobs")
    configure "$top/build-sanitize" -DKELVATOR_SANITIZE=ON
    cmake --build "$top/build-sanitize" -j"$jobs"
    (cd "$top/build-sanitize" && ctest --output-on-failure -j"$jobs")
    # The settings file reader under libFuzzer, briefly, from the golden file onwards.
    configure "$top/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ -DKELVATOR_FUZZ=ON
    cmake --build "$top/build-fuzz" -j"$jobs" --target kelvator_fuzz_settings
    mkdir -p "$top/build-fuzz/corpus"
    "$top/build-fuzz/kelvator_fuzz_settings" -max_total_time=45 -timeout=10 -rss_limit_mb=4096 \
      "$top/build-fuzz/corpus" "$top/tests/data"
    bash "$top/tools/check_package.sh" "$build"
    status=0
    wait "$tidy_pid" || status=$?
    trap - EXIT
    if [ "$status" -ne 0 ]; then
      cat "$tidy/clang-tidy.log" >&2
      echo "clang-tidy: warnings (exit status $status)" >&2
      exit 1
    fi
    echo "clang-tidy: no warnings in $(grep -c '^clang-tidy' "$tidy/clang-tidy.log") files"
    ;;
  package)
    (cd "$build" && cpack -G DEB)
    ;;
  *)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
