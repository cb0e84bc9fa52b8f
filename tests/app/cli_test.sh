#!/usr/bin/env bash
# The built program as a command, with no display at all: usage errors, --help
# and --version need none, and a start without one says so instead of
# aborting in Qt.
#   cli_test.sh <tonfang> <version> <bash completion>
set -uo pipefail
tonfang=$(realpath "$1") version=$2 completion=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

no_display_de='Tonfang braucht eine grafische Oberfläche: keine X11- oder Wayland-Anzeige erreichbar (DISPLAY, WAYLAND_DISPLAY).'
no_display_en='Tonfang needs a graphical desktop: no X11 or Wayland display could be reached (DISPLAY, WAYLAND_DISPLAY).'

# marker | environment | arguments | exit status | first line of stdout | first line of stderr
cases=(
  "-|-|--pick --bogus|2||tonfang: unbekannte Option „--bogus“"
  "en|-|--pick --bogus|2||tonfang: unknown option '--bogus'"
  "en|-|--format=x --pick|2||tonfang: unknown format 'x'"
  "-|-|--copy|2||tonfang: --copy geht nur zusammen mit --pick"
  "-|-|--help|0|Aufruf: tonfang [--pick [--format F] [--places N] [--copy] [--magnifier]]|"
  "en|-|-platform xcb --help|0|Usage: tonfang [--pick [--format F] [--places N] [--copy] [--magnifier]]|"
  "-|-|--version|0|tonfang $version|"
  "-|-||1||$no_display_de"
  "en|-|--bogus|1||$no_display_en"
  "-|DISPLAY=:97|-display :98|1||$no_display_de"
  "en|XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-9 XDG_RUNTIME_DIR=$scratch||1||$no_display_en"
  "-|-|--pick|3||$no_display_de"
  "en|-|--pick --copy --format oklch|3||$no_display_en"
)

for case in "${cases[@]}"; do
  IFS='|' read -r marker environment arguments status stdout stderr <<<"$case"
  work=$(mktemp -d -p "$scratch")
  [ "$marker" = - ] || touch "$work/$marker"
  [ "$environment" = - ] && environment=
  # shellcheck disable=SC2086  # the table's fields are word lists
  (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_SESSION_TYPE -u QT_QPA_PLATFORM \
    $environment "$tonfang" $arguments >"$work/out" 2>"$work/err")
  got=$?
  what="[$marker] $environment tonfang $arguments"
  [ "$got" = "$status" ] || { echo "FAIL: $what exits $got, not $status"; failures=$((failures + 1)); }
  [ "$(head -n1 "$work/out")" = "$stdout" ] \
    || { echo "FAIL: $what prints '$(head -n1 "$work/out")'"; failures=$((failures + 1)); }
  [ "$(head -n1 "$work/err")" = "$stderr" ] \
    || { echo "FAIL: $what says '$(head -n1 "$work/err")'"; failures=$((failures + 1)); }
  # A usage error shows the usage after its one line.
  if [ "$status" = 2 ] && ! sed -n 2p "$work/err" | grep -qE '^(Aufruf|Usage): tonfang'; then
    echo "FAIL: $what gives no usage"; failures=$((failures + 1))
  fi
done

# The completion offers exactly the formats the program takes, as its usage
# lists them.
listed=$(cd "$scratch" && "$tonfang" --help | sed -n '/^  --format F/,/^  --places/p' | sed '1d;$d' | tr -d ' \n')
# shellcheck source=/dev/null
source "$completion"
COMP_WORDS=(tonfang --pick --format "") COMP_CWORD=3
_tonfang
offered=$(IFS=,; echo "${COMPREPLY[*]}")
[ "$offered" = "$listed" ] || { echo "FAIL: completion offers $offered, usage lists $listed"; failures=$((failures + 1)); }

# On an X server with no other client, closing the last connection resets the
# server, which then holds back or refuses the next one: the start-up check's
# connection must stay open until Qt has made its own, its second.
exec 3>"$scratch/display"
Xvfb -displayfd 3 -audit 4 -nolisten tcp -screen 0 640x480x24 2>"$scratch/audit" &
server=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
(cd "$scratch" && DISPLAY=:$(cat "$scratch/display") QT_QPA_PLATFORM=xcb exec "$tonfang" --pick \
  >/dev/null 2>&1) &
pick=$!
for _ in $(seq 100); do grep -q "client 2 connected.*pid=$pick " "$scratch/audit" && break; sleep 0.1; done
grep -q "client 2 connected.*pid=$pick " "$scratch/audit" \
  || { echo "FAIL: the display check closed its connection before Qt connected"; failures=$((failures + 1)); }
kill "$pick" "$server" 2>/dev/null; wait "$pick" "$server" 2>/dev/null

((failures == 0)) || { echo "$failures check(s) failed"; exit 1; }
echo "command line checks passed"
