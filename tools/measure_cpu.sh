#!/usr/bin/env bash
# Measures the running program beside xclock in one private X server (Xvfb): for every page,
# the CPU share of one core (user + system time over the window), xclock's share over the same
# window (analog, one update a second), their ratio and the program's resident memory; then the
# time from start to the first mapped window, median of five starts, for both.
#   [WARMUP=SECONDS] bash tools/measure_cpu.sh BUILD_DIR [SECONDS] [PAGES...]
# PAGES are names from the list below (all by default). The program runs from a copy in a
# temporary folder, so its settings file starts there. Needs xvfb, x11-apps, xdotool, trayer.
set -euo pipefail
build=${1:?build folder}; seconds=${2:-60}; shift $(( $# >= 2 ? 2 : 1 ))
pages=("$@")
warmup=${WARMUP:-65}
[ ${#pages[@]} -eq 0 ] && pages=(worktime events digital analog datecalc stopwatch yearcal alarms tray trayday)

work=$(mktemp -d)
display=":$(( 200 + $$ % 500 ))"
xpid=""; pids=()
finish() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & xpid=$!
export DISPLAY=$display
sleep 1
# A notification area, so the tray case really hides the window.
trayer --edge top --align right >/dev/null 2>&1 & pids+=($!)

# Nanoseconds on a CPU (user + system) of all the process's threads, from the scheduler: the
# clock ticks of /proc/PID/stat count 10 ms at a time, too coarse for a program this quiet.
cpuns() { cat /proc/"$1"/task/*/schedstat | awk '{ns += $1} END {printf "%d", ns}'; }
rss() { awk '/VmRSS/ {printf "%.1f", $2 / 1024}' "/proc/$1/status"; }

# Settings for one page: the inner tab, the big clock's form, a running stopwatch, the tray (with
# the day shown in it for trayday).
settings() {
  local tab=0 kind=1 extra=""
  case $1 in
    worktime) tab=0 ;; events) tab=1 ;; digital) tab=2; kind=0 ;; analog) tab=2 ;;
    datecalc) tab=3 ;; stopwatch) tab=4 ;; yearcal) tab=5 ;; alarms) tab=6 ;;
    tray) extra=$'[Beallitasok]\r\nCheckBox_IconAzOraMelle=1\r\nCheckBox_IconkentIndul=1\r\n' ;;
    trayday) # in the tray, with the day in its tooltip and icon
      extra=$'[Beallitasok]\r\nCheckBox_IconAzOraMelle=1\r\nCheckBox_IconkentIndul=1\r\n'
      extra+=$'[Talca]\r\nCheckBox_SugoMutatjaANapot=1\r\nCheckBox_IkonMutatjaANapot=1\r\n' ;;
  esac
  local started
  started=$(date -d '-1 hour' '+%Y.%m.%d. %H:%M:%S')
  printf '[Main]\r\nPageControl_Main=%s\r\nPageControl_NagyOraTipus=%s\r\n' "$tab" "$kind"
  printf '[Stopper]\r\niStopperAllapot=1\r\ndtStopperStart=%s\r\n%s' "$started" "$extra"
}

# The program is measured as it runs at work: in a zone where it is now about ten in the
# morning (the day bar and the face's sector move), unless TZ is given or that day is a weekend.
if [ -z "${TZ:-}" ]; then
  hour=$(date -u +%-H); offset=$(( 10 - hour )); [ $offset -lt -12 ] && offset=$(( offset + 24 ))
  zone=$(printf '<%+03d>%d' "$offset" "$(( -offset ))")
  [ "$(TZ=$zone date +%u)" -le 5 ] && export TZ=$zone
fi
echo "local time of the run: $(date '+%Y-%m-%d %a %H:%M') (TZ=${TZ:-system})"
printf '%-10s %9s %9s %7s %9s\n' page program xclock ratio "RSS MiB"
for page in "${pages[@]}"; do
  dir="$work/$page"; mkdir -p "$dir"
  cp "$build/kelvator" "$dir/kelvator"
  settings "$page" > "$dir/kelvator.ini"
  QT_QPA_PLATFORM=xcb "$dir/kelvator" >/dev/null 2>&1 & kpid=$!; pids+=($kpid)
  xclock -update 1 >/dev/null 2>&1 & cpid=$!; pids+=($cpid)
  # Start-up is not what is measured, nor the first minute, in which the analog faces learn
  # the pixels of the second hand's sixty positions.
  sleep "$warmup"
  k0=$(cpuns "$kpid"); c0=$(cpuns "$cpid")
  sleep "$seconds"
  k1=$(cpuns "$kpid"); c1=$(cpuns "$cpid")
  mem=$(rss "$kpid")
  kill "$kpid" "$cpid"; wait "$kpid" "$cpid" 2>/dev/null || true
  awk -v k=$((k1 - k0)) -v c=$((c1 - c0)) -v n="$seconds" -v page="$page" -v m="$mem" \
    'BEGIN { kp = 100 * k / 1e9 / n; cp = 100 * c / 1e9 / n;
             r = c > 0 ? sprintf("%.1f", k / c) : "-";
             printf "%-10s %8.3f%% %8.3f%% %7s %9s\n", page, kp, cp, r, m }'
done

# Time to the first mapped window: poll the X server until the window is viewable.
mapped_ms() {
  local t0 t1 pid
  t0=$(date +%s%N)
  "$@" >/dev/null 2>&1 & pid=$!
  until xdotool search --onlyvisible --name '^(Kelvator|xclock)' >/dev/null 2>&1; do :; done
  t1=$(date +%s%N)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo $(( (t1 - t0) / 1000000 ))
}
median() { tr ' ' '\n' | sort -n | sed -n 3p; }
dir="$work/start"; mkdir -p "$dir"; cp "$build/kelvator" "$dir/kelvator"
QT_QPA_PLATFORM=xcb "$dir/kelvator" >/dev/null 2>&1 & p=$!; sleep 2; kill "$p"; wait "$p" 2>/dev/null || true
xclock >/dev/null 2>&1 & p=$!; sleep 1; kill "$p"; wait "$p" 2>/dev/null || true # warm caches
ks=(); cs=()
for _ in 1 2 3 4 5; do
  ks+=("$(QT_QPA_PLATFORM=xcb mapped_ms "$dir/kelvator")")
  cs+=("$(mapped_ms xclock -update 1)")
done
echo "first window (median of 5): program $(echo "${ks[*]}" | median) ms [${ks[*]}]," \
     "xclock $(echo "${cs[*]}" | median) ms [${cs[*]}]"
