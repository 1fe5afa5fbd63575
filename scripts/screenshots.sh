#!/usr/bin/env bash
# Screenshots of Corvalin's windows with the sample meeting, under a virtual
# display, into FOLDER (default docs/screenshots). The meeting typed there is
# kept in a settings folder of its own, never in yours.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
OUT=$(realpath -m "${1:-$ROOT/docs/screenshots}")
if [ -z "${DISPLAY:-}" ]; then
  ensure_packages xvfb xauth openbox
  exec xvfb-run -a -s "-screen 0 1024x900x24" env SCREENSHOTS_OWN_DISPLAY=1 "$0" "$OUT"
fi
# On a display of its own, a window manager, so that windows have frames and
# can be maximised (never on the user's desktop, which has its own).
if [ -n "${SCREENSHOTS_OWN_DISPLAY:-}" ]; then
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
fi
ensure_packages "${BUILD_PACKAGES[@]}"
build_program >/dev/null
settings=$(mktemp -d)
trap 'rm -rf "$settings"; [ -n "${wm:-}" ] && kill "$wm"' EXIT
XDG_CONFIG_HOME="$settings" TEMP="$settings" LANG=en_US.UTF-8 "$ROOT/build/tests/screenshots" "$OUT"
