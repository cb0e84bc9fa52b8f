#!/usr/bin/env bash
# Runs accessibility_test.py in a session bus of its own (the accessibility bus
# is started on demand through it) on a private Xvfb:
#   accessibility_test.sh TONFANG
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export QT_QPA_PLATFORM=xcb
exec "$here/../../../scripts/with-xvfb.sh" 1280x1024x24 \
  dbus-run-session -- /usr/bin/python3 "$here/accessibility_test.py" "$1"
