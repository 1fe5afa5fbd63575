#!/usr/bin/env bash
# Sets up (Debian packages, build) and runs every test. Needs no display.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# libxml2-utils and python3 check saved documents against the document schemas.
ensure_packages "${BUILD_PACKAGES[@]}" libxml2-utils python3
build_program

cd "$ROOT/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300
