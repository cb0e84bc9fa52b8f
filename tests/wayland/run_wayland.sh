#!/usr/bin/env bash
# Runs the Wayland picking tests of one configuration against a private,
# headless compositor:
#   run_wayland.sh CONFIG TEST_BINARY [gtest arguments...]
# CONFIG is sway (the native picker on sway), window (the same from the
# main window, which then is on Wayland itself), gone (sway ends during a pick),
# portal (the real desktop portal on sway) or weston (a compositor without the
# protocols the native picker needs). The compositor runs as nobody, since sway refuses root, in a runtime
# folder of its own; the tests reach it by the socket's absolute path. Each run
# has its own session bus, which activates only the services this script puts
# in its folder. Everything started here ends with the script.
set -euo pipefail
config=$1 binary=$2
shift 2

case $config in
  sway) compositor=sway filter='Native.*' ;;
  window) compositor=sway filter='NativeWindow.*' ;;
  gone) compositor=sway filter='CompositorGone.*' ;;
  portal) compositor=sway filter='RealPortal.*' ;;
  weston) compositor=weston filter='Fallback.*' ;;
  *) echo "unknown configuration: $config" >&2; exit 2 ;;
esac

work=$(mktemp -d)
pids=()
finish() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap finish EXIT

fail() {  # MESSAGE LOG: says what did not start and shows its log
  echo "$1" >&2
  cat "$2" >&2 || true
  exit 1
}

wait_for_socket() {  # PATH LOG: up to ten seconds
  local tries
  for ((tries = 0; tries < 200; tries++)); do
    [ -S "$1" ] && return 0
    sleep 0.05
  done
  fail "no socket $1" "$2"
}

# The compositor's runtime folder is nobody's; shared holds what it must read
# (its configuration, cursors and the tests' pictures); the clients have one
# of their own.
chmod 755 "$work"
mkdir -m 700 "$work/compositor" "$work/client"
mkdir -m 777 "$work/shared"
chown 65534:65534 "$work/compositor"

# An invisible cursor: headless sway draws the pointer into every capture.
mkdir -p "$work/shared/cursors/invisible/cursors"
# One Xcursor file: a table of one image, a transparent 1x1 pixel.
printf 'Xcur\x10\0\0\0\0\0\1\0\1\0\0\0\x02\0\xfd\xff\x18\0\0\0\x1c\0\0\0''\x24\0\0\0\x02\0\xfd\xff\x18\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0' \
  >"$work/shared/cursors/invisible/cursors/left_ptr"
chmod -R a+rX "$work/shared"

as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups
  env -i PATH=/usr/bin:/bin HOME=/nonexistent XDG_RUNTIME_DIR="$work/compositor")
if [ "$compositor" = sway ]; then
  cat >"$work/shared/sway.conf" <<EOF
xwayland disable
output HEADLESS-1 resolution 1280x800 position 0 0 bg #808080 solid_color
seat seat0 xcursor_theme invisible 24
default_border none
for_window [app_id=".*"] floating enable
EOF
  "${as_nobody[@]}" XCURSOR_PATH="$work/shared/cursors" WLR_BACKENDS=headless \
    WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$work/shared/sway.conf" >"$work/compositor.log" 2>&1 &
  pids+=($!)
  export TONFANG_WAYLAND_COMPOSITOR_PID=$!
  for ((tries = 0; tries < 200; tries++)); do
    socket=$(ls "$work"/compositor/sway-ipc.*.sock 2>/dev/null || true)
    [ -n "$socket" ] && break
    sleep 0.05
  done
  [ -n "$socket" ] || fail "sway did not start" "$work/compositor.log"
  export SWAYSOCK=$socket
  display=$(ls "$work"/compositor/ | grep -E '^wayland-[0-9]+$' | head -n 1)
  export WAYLAND_DISPLAY="$work/compositor/$display"
  swaymsg -t get_version >/dev/null
  # A keyboard that stays, as on a desktop: a program that starts before the
  # first key then already has one.
  wtype -s 3600000 &
  pids+=($!)
else
  "${as_nobody[@]}" weston --backend=headless-backend.so --socket=wayland-0 --no-config \
    --width=1280 --height=800 >"$work/compositor.log" 2>&1 &
  pids+=($!)
  export WAYLAND_DISPLAY="$work/compositor/wayland-0"
  wait_for_socket "$WAYLAND_DISPLAY" "$work/compositor.log"
fi

export XDG_RUNTIME_DIR="$work/client" XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=sway
# Only the window's tests need a screen; the programs they start get Wayland.
export QT_QPA_PLATFORM=offscreen TONFANG_WAYLAND_WORK="$work/shared" QT_WAYLAND_DISABLE_WINDOWDECORATION=1
if [ "$config" = window ]; then QT_QPA_PLATFORM=wayland; fi
unset DISPLAY WAYLAND_SOCKET TONFANG_WAYLAND_PICKER QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS

# The session bus: the portal and its backends start on demand, as on a desktop.
mkdir "$work/services"
if [ "$config" = portal ]; then
  for service in org.freedesktop.portal.Desktop=xdg-desktop-portal \
                 org.freedesktop.impl.portal.desktop.wlr=xdg-desktop-portal-wlr \
                 org.freedesktop.impl.portal.desktop.gtk=xdg-desktop-portal-gtk \
                 org.freedesktop.impl.portal.PermissionStore=xdg-permission-store; do
    printf '[D-BUS Service]\nName=%s\nExec=/usr/libexec/%s\n' "${service%%=*}" "${service#*=}" \
      >"$work/services/${service%%=*}.service"
  done
fi
cat >"$work/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$work</listen>
  <servicedir>$work/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
exec {bus_info}< <(NO_AT_BRIDGE=1 GTK_USE_PORTAL=0 dbus-daemon --config-file="$work/bus.conf" \
  --nofork --print-address=1 --print-pid=1 2>"$work/bus.log")
read -r -t 10 DBUS_SESSION_BUS_ADDRESS <&"$bus_info" || fail "no session bus" "$work/bus.log"
read -r -t 10 bus_pid <&"$bus_info"
pids+=("$bus_pid")
export DBUS_SESSION_BUS_ADDRESS
if [ "$config" = portal ]; then
  # The wlroots portal answers only while PipeWire runs.
  pipewire >"$work/pipewire.log" 2>&1 &
  pids+=($!)
  wait_for_socket "$XDG_RUNTIME_DIR/pipewire-0" "$work/pipewire.log"
  # The wlroots backend can leave a call that came while it started unread
  # until the next one comes: wake it until it answers, before the portal
  # asks it anything.
  for ((tries = 0; tries < 30; tries++)); do
    dbus-send --session --print-reply --reply-timeout=1000 \
      --dest=org.freedesktop.impl.portal.desktop.wlr /org/freedesktop/portal/desktop \
      org.freedesktop.DBus.Peer.Ping >/dev/null 2>&1 && break
  done
fi

status=0
"$binary" "--gtest_filter=$filter" "$@" || status=$?
if [ "$status" -ne 0 ]; then
  for log in "$work"/*.log; do echo "-- $log:" >&2; tail -n 20 "$log" >&2; done
fi
exit "$status"
