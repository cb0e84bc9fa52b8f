# Sourced by scripts that need a private X server:
#   source scripts/xvfb.sh; start_xvfb 1280x1024x24
# Xvfb picks a free display itself (-displayfd) and writes its number once it is
# ready, so several servers can start at the same time without racing for one
# number, as `xvfb-run -a` can. -noreset keeps the server, and what it shows,
# alive between clients. The server and the scratch folder go when the script ends.

xvfb_work=$(mktemp -d)
xvfb_pid=
stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$xvfb_work"
}
trap stop_xvfb EXIT

start_xvfb() {  # GEOMETRY (WxHxDEPTH): exports DISPLAY
  mkfifo "$xvfb_work/display"
  Xvfb -displayfd 3 -screen 0 "$1" -noreset -nolisten tcp 3>"$xvfb_work/display" \
    2>"$xvfb_work/xvfb.log" &
  xvfb_pid=$!
  local number
  if ! read -r -t 30 number <"$xvfb_work/display"; then
    cat "$xvfb_work/xvfb.log" >&2
    return 1
  fi
  export DISPLAY=":$number"
  unset WAYLAND_DISPLAY XDG_SESSION_TYPE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
    QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING
}
