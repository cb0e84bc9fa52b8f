#!/usr/bin/env bash
# Runs the Wayland tests of one configuration on a private headless compositor:
#   run_wayland.sh CONFIG TEST_BINARY [gtest arguments...]
# CONFIG: sway (the native pick), window (the same from the main window, then
# on Wayland itself), gone (sway ends mid-pick), portal (the real portal on
# sway), weston (no screen capture, no overlay layers) or bench (the
# benchmark's command, given in place of the test binary). The compositor runs
# as nobody (sway refuses root) in its own runtime folder, reached by the
# socket's path; a private session bus starts only the services put here.
set -euo pipefail
config=$1 binary=$2
shift 2
case $config in
  sway) filter='Native.*' ;; window) filter='NativeWindow.*' ;; gone) filter='*CompositorGone.*' ;;
  portal) filter='RealPortal.*' ;; weston) filter='Fallback.*' ;; bench) filter= ;;
  *) echo "unknown configuration: $config" >&2; exit 2 ;;
esac

if [ "$config" = gone ] && [ -z "${TONFANG_WAYLAND_ONE_TEST-}" ]; then
  # Each of these tests ends its compositor: a fresh one for each.
  tests=$(QT_QPA_PLATFORM=offscreen "$binary" --gtest_list_tests "--gtest_filter=$filter" |
    awk '/^[^ ]/ { suite = $1 } /^  / { print suite $1 }')
  [ -n "$tests" ] || { echo "no tests in $filter" >&2; exit 1; }
  for test in $tests; do TONFANG_WAYLAND_ONE_TEST=$test bash "$0" "$config" "$binary" "$@" || exit; done
  exit 0
fi
[ -z "${TONFANG_WAYLAND_ONE_TEST-}" ] || filter=$TONFANG_WAYLAND_ONE_TEST

work=$(mktemp -d) pids=()
finish() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap finish EXIT
wait_for() {  # PATH-GLOB LOG: until a socket is there, ten seconds at most
  for _ in $(seq 200); do compgen -G "$1" >/dev/null && return 0; sleep 0.05; done
  echo "no $1" >&2; cat "$2" >&2; exit 1
}

# shared holds what the compositor reads; the clients have their own runtime folder.
chmod 755 "$work"
mkdir -m 700 "$work/compositor" "$work/client" "$work/services"
mkdir -m 777 "$work/shared"
mkdir -p "$work/shared/cursors/invisible/cursors"
chown 65534:65534 "$work/compositor"
# Headless sway draws the pointer into captures: a cursor theme of one
# transparent pixel, an Xcursor file with one image.
printf 'Xcur\x10\0\0\0\0\0\1\0\1\0\0\0\x02\0\xfd\xff\x18\0\0\0\x1c\0\0\0''\x24\0\0\0\x02\0\xfd\xff\x18\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0' \
  >"$work/shared/cursors/invisible/cursors/left_ptr"
chmod -R a+rX "$work/shared"
as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups
  env -i PATH=/usr/bin:/bin HOME=/nonexistent XDG_RUNTIME_DIR="$work/compositor")
if [ "$config" = weston ]; then
  "${as_nobody[@]}" weston --backend=headless-backend.so --socket=wayland-0 --no-config \
    >"$work/compositor.log" 2>&1 &
  pids+=($!)
else
  printf '%s\n' 'xwayland disable' 'seat seat0 xcursor_theme invisible 24' 'default_border none' \
    'output HEADLESS-1 resolution 1280x800 position 0 0 bg #808080 solid_color' \
    'for_window [app_id=".*"] floating enable' >"$work/shared/sway.conf"
  "${as_nobody[@]}" XCURSOR_PATH="$work/shared/cursors" WLR_BACKENDS=headless WLR_RENDERER=pixman \
    WLR_LIBINPUT_NO_DEVICES=1 sway -c "$work/shared/sway.conf" >"$work/compositor.log" 2>&1 &
  pids+=($!)
  export TONFANG_WAYLAND_COMPOSITOR_PID=$!
  wait_for "$work/compositor/sway-ipc.*.sock" "$work/compositor.log"
  SWAYSOCK=$(compgen -G "$work/compositor/sway-ipc.*.sock")
  export SWAYSOCK
fi
wait_for "$work/compositor/wayland-[0-9]" "$work/compositor.log"
WAYLAND_DISPLAY=$(compgen -G "$work/compositor/wayland-[0-9]" | head -n 1)
export WAYLAND_DISPLAY XDG_RUNTIME_DIR="$work/client" XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=sway
# Only the window's tests need a screen; the programs they start get Wayland.
export QT_QPA_PLATFORM=offscreen QT_WAYLAND_DISABLE_WINDOWDECORATION=1 TONFANG_WAYLAND_WORK="$work/shared"
[ "$config" != window ] || QT_QPA_PLATFORM=wayland
unset DISPLAY TONFANG_WAYLAND_PICKER QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
if [ "$config" != weston ]; then
  # A keyboard that stays, as on a desktop: the overlay has one from its start.
  wtype -s 3600000 &
  pids+=($!)
fi

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
<busconfig><type>session</type><listen>unix:dir=$work</listen>
<servicedir>$work/services</servicedir>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/>
<allow own="*"/></policy></busconfig>
EOF
exec {bus}< <(dbus-daemon --config-file="$work/bus.conf" --nofork --print-address=1 --print-pid=1 \
  2>"$work/bus.log")
read -r -t 10 DBUS_SESSION_BUS_ADDRESS <&"$bus" && read -r -t 10 bus_pid <&"$bus" ||
  { cat "$work/bus.log" >&2; exit 1; }
pids+=("$bus_pid")
export DBUS_SESSION_BUS_ADDRESS
if [ "$config" = portal ]; then
  # The wlroots portal answers only while PipeWire runs.
  pipewire >"$work/pipewire.log" 2>&1 &
  pids+=($!)
  wait_for "$XDG_RUNTIME_DIR/pipewire-0" "$work/pipewire.log"
  # Its backend can leave a call that came while it started unread until the
  # next one: wake it until it answers, before the portal asks it anything.
  for _ in $(seq 30); do
    dbus-send --session --print-reply --reply-timeout=1000 --dest=org.freedesktop.impl.portal.desktop.wlr \
      /org/freedesktop/portal/desktop org.freedesktop.DBus.Peer.Ping >/dev/null 2>&1 && break
  done
fi

status=0
"$binary" ${filter:+"--gtest_filter=$filter"} "$@" || status=$?
if [ "$status" -ne 0 ]; then
  for log in "$work"/*.log; do echo "-- $log:" >&2; tail -n 20 "$log" >&2; done
fi
exit "$status"
