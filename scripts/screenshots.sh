#!/usr/bin/env bash
# Screenshots of Corvalin's windows with the sample meeting, under a virtual
# display, into FOLDER (default docs/screenshots). The meeting typed there is
# kept in a settings folder of its own, never in yours.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
OUT=$(realpath -m "${1:-$ROOT/docs/screenshots}")
if [ -z "${DISPLAY:-}" ]; then
  ensure_packages xvfb xauth
  exec xvfb-run -a -s "-screen 0 1024x900x24" "$0" "$OUT"
fi
ensure_packages "${BUILD_PACKAGES[@]}"
build_program >/dev/null
settings=$(mktemp -d)
trap 'rm -rf "$settings"' EXIT
XDG_CONFIG_HOME="$settings" TEMP="$settings" LANG=en_US.UTF-8 "$ROOT/build/tests/screenshots" "$OUT"
