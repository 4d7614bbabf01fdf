#!/usr/bin/env bash
# Checks the Debian package made by `cpack -G DEB` in a build folder: its control data and
# files, the menu entry and the AppStream metadata, then installs it on this machine, starts
# the installed program under Xvfb, and removes it again, looking for anything left behind.
#   bash tools/check_package.sh BUILD_FOLDER
# Installing and removing a system package needs root (or sudo).
set -euo pipefail

build=$(cd "${1:?usage: $0 BUILD_FOLDER}" && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
work=$(mktemp -d)
xvfb_pid=""
kelvator_pid=""
installed=""
cleanup() {
  [ -z "$kelvator_pid" ] || kill "$kelvator_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  # A check that failed on the installed package takes it away again, so the next one can run.
  [ -z "$installed" ] || $sudo env DEBIAN_FRONTEND=noninteractive apt-get purge -y kelvator >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "package check: $*" >&2
  exit 1
}

# Building the package.
rm -f "$build"/kelvator_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/kelvator_*_amd64.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  fail "cpack made no kelvator_*_amd64.deb"
fi
deb=${debs[0]}
echo "package: $(basename "$deb")"

# Control data: name, version, and the dependencies shlibdeps and the sound need.
dpkg-deb --info "$deb" > "$work/info"
grep -qx ' Package: kelvator' "$work/info" || fail "not named kelvator"
version=$(dpkg-deb --field "$deb" Version)
[ "$(basename "$deb")" = "kelvator_${version}_amd64.deb" ] || fail "file name does not carry version $version"
depends=$(dpkg-deb --field "$deb" Depends)
for dep in libc6 libqt6core6 libqt6gui6 libqt6widgets6 gstreamer1.0-plugins-base gstreamer1.0-plugins-good; do
  grep -Eq "(^|, )$dep( |,|$)" <<<"$depends" || fail "Depends lacks $dep: $depends"
done

# Files: the program, the menu entry, every icon size, the metadata and the documents.
dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|' > "$work/contents"
expected=(
  /usr/bin/kelvator
  /usr/share/applications/io.github.kelvator.desktop
  /usr/share/metainfo/io.github.kelvator.metainfo.xml
  /usr/share/icons/hicolor/scalable/apps/kelvator.svg
  /usr/share/doc/kelvator/copyright
  /usr/share/doc/kelvator/changelog.gz
  /usr/share/man/man1/kelvator.1.gz
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/kelvator.png")
done
for f in "${expected[@]}"; do
  grep -qxF "$f" "$work/contents" || fail "$f is not in the package"
done
grep -v '/$' "$work/contents" | grep -Ev '^/usr/(bin|share)/' && fail "files outside /usr/bin and /usr/share"

# The menu entry and the metadata as shipped.
dpkg-deb --extract "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/io.github.kelvator.desktop"
appstreamcli validate --pedantic --no-net "$work/root/usr/share/metainfo/io.github.kelvator.metainfo.xml"

# The licence: GPL-3.0-or-later, in Debian's machine-readable copyright file and in the metadata.
copyright=$work/root/usr/share/doc/kelvator/copyright
head -n1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright file is not machine-readable"
grep -qx 'Upstream-Name: kelvator' "$copyright" || fail "copyright file names no upstream"
# The paragraph of every file, and the licence text that its short name stands for.
awk -v RS= '/(^|\n)Files: \*(\n|$)/ && /\nCopyright: [0-9][0-9][0-9][0-9]/ && /\nLicense: GPL-3\+(\n|$)/ { found = 1 }
            END { exit !found }' "$copyright" || fail "copyright file does not put every file under GPL-3+"
awk -v RS= '/^License: GPL-3\+\n/ && /either version 3 of the License, or\n \(at your option\) any later version/ &&
            /\/usr\/share\/common-licenses\/GPL-3/ { found = 1 } END { exit !found }' "$copyright" ||
  fail "copyright file lacks the GPL-3+ licence paragraph"
grep -q '<project_license>GPL-3.0-or-later</project_license>' \
  "$work/root/usr/share/metainfo/io.github.kelvator.metainfo.xml" || fail "metadata names no GPL-3.0-or-later licence"

# Hardening (Debian's hardening=+all): full RELRO, a position-independent executable, the stack
# protector and fortified libc calls; control-flow protection where the C library's start files
# let the linker mark the program.
# Each listing goes to a file first: grep -q ends at its first match, and with pipefail the
# writer that this cuts off would fail the check.
program=$work/root/usr/bin/kelvator
readelf -hlndW "$program" > "$work/elf"
readelf --dyn-syms -W "$program" | awk '{print $8}' > "$work/imports"
grep -q 'Type:.*DYN' "$work/elf" || fail "the program is not position-independent"
grep -q GNU_RELRO "$work/elf" || fail "the program has no RELRO segment"
grep -Eq '\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW' "$work/elf" || fail "the program is not linked with -z now"
grep -q '^__stack_chk_fail@' "$work/imports" || fail "the program has no stack protector"
grep -Eq '^__[a-z_]+_chk@' "$work/imports" || fail "the program has no fortified calls"
readelf -nW "$(gcc -print-file-name=Scrt1.o)" > "$work/start_files"
if grep -q 'x86 feature: IBT, SHSTK' "$work/start_files"; then
  grep -q 'x86 feature: IBT, SHSTK' "$work/elf" || fail "the program is not marked for IBT and SHSTK"
else
  objdump -d --no-show-raw-insn "$program" > "$work/code"
  grep -q endbr64 "$work/code" || fail "the program is not built with -fcf-protection"
fi
echo "hardening: PIE, RELRO, BIND_NOW, stack protector, $(grep -Ec '^__[a-z_]+_chk@' "$work/imports") fortified call(s)"

for size in 16 22 24 32 48 64 128 256; do
  file "$work/root/usr/share/icons/hicolor/${size}x${size}/apps/kelvator.png" |
    grep -q "PNG image data, $size x $size," || fail "the ${size}px icon is not $size x $size"
done

# Installing it as a user would.
if dpkg-query -W -f='${Status}' kelvator 2>/dev/null | grep -q 'install ok installed'; then
  fail "kelvator is already installed here; remove it first (this check installs and removes it)"
fi
installed=yes
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$deb" >/dev/null
dpkg-query -L kelvator | sort > "$work/owned"
[ "$(command -v kelvator)" = /usr/bin/kelvator ] || fail "kelvator is not found as /usr/bin/kelvator"
appstreamcli get io.github.kelvator > "$work/appstream" || fail "software centres do not see io.github.kelvator"
grep -qx 'Name: Kelvator' "$work/appstream" || fail "software centres do not see Kelvator's name"

# Starting the installed program: it keeps its settings in the user's configuration folder and
# writes them when it is ended.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
home=$work/home
mkdir -p "$home" "$work/tmp"
HOME=$home TMPDIR=$work/tmp DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb \
  env -u XDG_CONFIG_HOME /usr/bin/kelvator >"$work/kelvator.log" 2>&1 &
kelvator_pid=$!
# The program opens its single-instance socket once its window is built, and takes over
# SIGTERM right after; then it is given a moment to run its loop.
for _ in $(seq 300); do
  compgen -G "$work/tmp/kelvator-*" >/dev/null && break
  kill -0 "$kelvator_pid" 2>/dev/null || break
  sleep 0.1
done
sleep 1
kill -0 "$kelvator_pid" 2>/dev/null || { cat "$work/kelvator.log" >&2; fail "kelvator ended by itself"; }
compgen -G "$work/tmp/kelvator-*" >/dev/null || fail "kelvator did not come up within 30 seconds"
kill -TERM "$kelvator_pid"
status=0
wait "$kelvator_pid" || status=$?
kelvator_pid=""
[ "$status" -eq 0 ] || { cat "$work/kelvator.log" >&2; fail "kelvator ended with status $status on SIGTERM"; }
[ -s "$home/.config/kelvator/kelvator.ini" ] || fail "no settings in ~/.config/kelvator/kelvator.ini"
[ ! -e /usr/bin/kelvator.ini ] || fail "the installed program wrote /usr/bin/kelvator.ini"
# The salary is in it: the folders the program made and the file are its user's alone.
for made in "$home/.config" "$home/.config/kelvator"; do
  [ "$(stat -c %a "$made")" = 700 ] || fail "$made is $(stat -c %a "$made"), not 700"
done
[ "$(stat -c %a "$home/.config/kelvator/kelvator.ini")" = 600 ] || fail "the settings file is not 600"
echo "installed program started and saved $(wc -l <"$home/.config/kelvator/kelvator.ini") lines of settings"

# Removing it leaves none of its files behind.
$sudo env DEBIAN_FRONTEND=noninteractive apt-get purge -y kelvator >/dev/null
installed=""
left=()
while IFS= read -r path; do
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    case "$path" in *kelvator*) left+=("$path") ;; esac # shared folders such as /usr/bin stay
  elif [ -e "$path" ] || [ -L "$path" ]; then
    left+=("$path")
  fi
done <"$work/owned"
[ ${#left[@]} -eq 0 ] || fail "left behind after removal: ${left[*]}"
echo "package check: passed"
