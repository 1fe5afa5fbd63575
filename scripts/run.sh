#!/usr/bin/env bash
# Sets up (Debian packages, build) and starts Corvalin.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<MSG
Corvalin is a desktop program and needs a graphical display, but none was found
(neither DISPLAY nor WAYLAND_DISPLAY is set). Start it from a desktop session, or
under a virtual display:
  apt-get install -y xvfb xauth
  xvfb-run -a $0
MSG
  exit 2
fi
ensure_packages "${BUILD_PACKAGES[@]}"
build_program

exec "$ROOT/build/corvalin"
