#!/usr/bin/env bash
# Measures the running program's CPU share and memory in a private X server (Xvfb).
#   bash tools/measure_cpu.sh BUILD_DIR TAB_INDEX [SECONDS]
# TAB_INDEX is the inner tab saved in the settings file (0 work time, 2 big clock). The
# program runs from a copy in a temporary folder, so its settings file starts there.
set -euo pipefail
build=${1:?build folder}; tab=${2:?tab index}; seconds=${3:-30}
work=$(mktemp -d)
pid=""; xpid=""
finish() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
cp "$build/kelvator" "$work/kelvator"
printf '[Main]\r\nPageControl_Main=%s\r\nPageControl_NagyOraTipus=1\r\n' "$tab" > "$work/kelvator.ini"
Xvfb :93 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & xpid=$!
sleep 1
DISPLAY=:93 QT_QPA_PLATFORM=xcb "$work/kelvator" >/dev/null 2>&1 & pid=$!
sleep 5 # start-up is not what is measured
ticks=$(getconf CLK_TCK)
read -r u0 s0 < <(awk '{print $14, $15}' "/proc/$pid/stat")
sleep "$seconds"
read -r u1 s1 < <(awk '{print $14, $15}' "/proc/$pid/stat")
rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
awk -v u=$((u1 - u0)) -v s=$((s1 - s0)) -v t="$ticks" -v n="$seconds" -v r="$rss" \
  'BEGIN { printf "cpu %.2f%% of one core over %d s, resident %.1f MiB\n", 100 * (u + s) / t / n, n, r / 1024 }'
