#!/usr/bin/env bash
# Runs one command on a private Xvfb of the given screen geometry:
#   with-xvfb.sh WxHxDEPTH COMMAND [ARGS...]
set -euo pipefail
geometry=$1
shift
source "$(dirname "$0")/xvfb.sh"
start_xvfb "$geometry"
"$@"
