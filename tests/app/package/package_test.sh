#!/usr/bin/env bash
# Builds the Debian package from a configured and built tree, unpacks it into a
# scratch root and checks what a desktop needs to list and start the program.
#   package_test.sh <build dir>
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
  || { cat "$scratch/cpack.log"; echo "FAIL: cpack"; exit 1; }
debs=("$scratch"/out/tonfang_*.deb)
[ -f "${debs[0]}" ] || { ls -R "$scratch/out"; echo "FAIL: no tonfang_*.deb"; exit 1; }
deb=${debs[0]}
echo "package: $(basename "$deb")"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"

# The program, stripped of nothing it needs: every library it links resolves.
bin="$root/usr/bin/tonfang"
[ -x "$bin" ] || fail "usr/bin/tonfang missing or not executable"
if [ -x "$bin" ]; then
  file -b "$bin" | grep -q ELF || fail "usr/bin/tonfang is not an ELF program"
  if ldd "$bin" | grep -q 'not found'; then fail "unresolved libraries: $(ldd "$bin" | grep 'not found')"; fi
fi

# The checkers distributions and software centres run; scripts/deps.sh
# installs them.
for tool in lintian desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
# Runs a checker, shows what it says and fails on its exit status or on any
# line its filter finds (errors and warnings; hints and notes may stay).
check() {  # NAME FILTER COMMAND...
  local name=$1 filter=$2; shift 2
  local status=0
  "$@" >"$scratch/check.log" 2>&1 || status=$?
  sed "s/^/  $name: /" "$scratch/check.log"
  ((status == 0)) || fail "$name exits with $status"
  if grep -qE "$filter" "$scratch/check.log"; then fail "$name reports problems"; fi
}
check lintian '^[EW]: ' lintian --fail-on error,warning --display-info "$deb"
app_id=de.tonfang_quellwerk.Tonfang
desktop="$root/usr/share/applications/$app_id.desktop"
metainfo="$root/usr/share/metainfo/$app_id.metainfo.xml"
[ -f "$desktop" ] || fail "usr/share/applications/$app_id.desktop missing"
[ -f "$metainfo" ] || fail "usr/share/metainfo/$app_id.metainfo.xml missing"
check desktop-file-validate '(error|warning): ' desktop-file-validate "$desktop"
# Notes count too: they flag what software centres show badly, such as no
# content rating or a screenshot over plain http.
check appstreamcli '^ *[EWI]: ' appstreamcli validate --no-net --strict "$metainfo"
# The tree as a whole: the launchable names an installed desktop entry.
check appstreamcli-tree '^ *[EW]: ' appstreamcli validate-tree --no-net "$root"

for line in Type=Application Name=Tonfang Exec=tonfang Icon=tonfang; do
  grep -qx "$line" "$desktop" || fail "desktop entry lacks $line"
done
# Every Exec, the actions' too, names a program that the package installs in
# the PATH.
for exec_name in $(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop" 2>/dev/null || true); do
  [ -x "$root/usr/bin/$exec_name" ] || fail "Exec=$exec_name is not installed in usr/bin"
done
# The one-shot pick is offered as an action of the entry, which hotkeys can use.
grep -qx 'Exec=tonfang --pick --copy' "$desktop" || fail "desktop entry lacks the pick action"
# bash-completion finds the completion under the command's name.
[ -f "$root/usr/share/bash-completion/completions/tonfang" ] || fail "bash completion missing"

# The icon the desktop entry names, in the hicolor theme.
icon="$root/usr/share/icons/hicolor/256x256/apps/tonfang.png"
if [ ! -f "$icon" ]; then
  fail "icon missing"
else
  file -b "$icon" | grep -q 'PNG image data, 256 x 256' || fail "icon is not a 256 x 256 PNG: $(file -b "$icon")"
fi

for size in 16 32 48 64 128; do
  file -b "$root/usr/share/icons/hicolor/${size}x${size}/apps/tonfang.png" 2>/dev/null \
    | grep -q "PNG image data, $size x $size" || fail "no ${size} x ${size} icon"
done

# Nothing outside /usr, nothing from the build tree.
if (cd "$root" && find . -mindepth 1 -maxdepth 1 | grep -vx './usr'); then fail "files outside /usr"; fi
if find "$root" | grep -qE '(test_|bench|\.a$|\.h$)'; then fail "build artefacts in the package"; fi

# The control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tonfang ] || fail "Package is $(field Package)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is $(field Architecture)"
depends=$(field Depends)
echo "Depends: $depends"
names=$(tr ',' '\n' <<<"$depends" | sed -E 's/^ *([^ (|]+).*/\1/')
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libjpeg62-turbo libc6 libstdc++6 qt6-qpa-plugins \
  qt6-wayland qt6-translations-l10n; do
  grep -qxF "$needed" <<<"$names" || fail "Depends lacks $needed"
done
# Links open through xdg-open; --copy on Wayland needs wl-copy.
for recommended in xdg-utils wl-clipboard; do
  grep -qE "(^|, *)$recommended( |,|\$)" <<<"$(field Recommends)" || fail "Recommends lacks $recommended"
done

# One version everywhere: the package, the newest changelog entry and the
# newest release software centres show.
version=$(field Version)
changelog_version=$(zcat "$root/usr/share/doc/tonfang/changelog.gz" | sed -nE '1s/^tonfang \(([^)]*)\).*/\1/p')
[ "$changelog_version" = "$version" ] || fail "changelog is at '$changelog_version', the package at $version"
release_version=$(grep -m1 -oP '<release version="\K[^"]*' "$metainfo" || true)
[ "$release_version" = "$version" ] || fail "metainfo's newest release is '$release_version', the package $version"

# cmake --install puts the same files in place as the package.
DESTDIR="$scratch/installed" cmake --install "$build" --prefix /usr --strip >"$scratch/install.log" 2>&1 \
  || { cat "$scratch/install.log"; fail "cmake --install"; }
if ! diff <(cd "$root" && find . | sort) <(cd "$scratch/installed" && find . | sort); then
  fail "cmake --install and the package install different files"
fi

# Every dependency is a package this Debian release knows and this system
# satisfies (the machine is a Debian 12 with the run-time packages installed).
for name in $names; do
  dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed' \
    || fail "dependency $name is not an installed Debian package here"
done

# What apt would do with the package on this system: install it, nothing to fix.
if command -v apt-get >/dev/null; then
  apt-get install -s "$deb" >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log"; fail "apt-get refuses the package"; }
  grep -q '^Inst tonfang ' "$scratch/apt.log" || { cat "$scratch/apt.log"; fail "apt-get would not install tonfang"; }
fi

if ((failures)); then echo "$failures check(s) failed"; exit 1; fi
echo "package checks passed"
