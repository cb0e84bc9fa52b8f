#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tonfang need,
# but only those that are missing, so a second run costs a second.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-translations-l10n libgl-dev libxcb1-dev libxcb-randr0-dev libxcb-cursor-dev libjpeg-dev libpng-dev
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool xclip x11-xserver-utils x11-utils imagemagick openbox
  dbus-daemon python3-dbus python3-gi python3-pyatspi at-spi2-core fonts-dejavu-core locales
  # A real portal, as on every desktop, which the portal tests must keep off their bus.
  xdg-desktop-portal xdg-desktop-portal-gtk
  dpkg-dev file lintian desktop-file-utils appstream acl
  libwayland-bin libwayland-dev libxkbcommon-dev wayland-protocols librust-wayland-protocols-dev
  qt6-wayland sway swaybg grim wtype weston slurp wl-clipboard xdg-desktop-portal-wlr pipewire
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
