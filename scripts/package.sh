#!/usr/bin/env bash
# Builds the Debian package of Corvalin into artefacts/ (a release build in
# build-package/, installed under /usr), then checks it with lintian,
# desktop-file-validate and appstreamcli where they are installed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

ensure_packages cmake make g++ pkg-config qt6-base-dev libzip-dev dpkg-dev file
B="$ROOT/build-package"
# Debian's hardening flags (fortified functions, stack protector, full RELRO).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S "$ROOT" -B "$B" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DCORVALIN_TESTS=OFF -DCORVALIN_BENCHMARKS=OFF >/dev/null
cmake --build "$B" -j"$(nproc)"
(cd "$B" && cpack -G DEB >/dev/null)
mkdir -p "$ROOT/artefacts"
DEB=$(ls -t "$B"/corvalin_*.deb | head -1)
cp "$DEB" "$ROOT/artefacts/"
echo "Package: artefacts/$(basename "$DEB")"

# The checks need nothing from the build; each is skipped, saying so, when absent.
check() {
  local tool=$1
  shift
  if command -v "$tool" >/dev/null; then
    echo "== $tool"
    "$@" || true
  else
    echo "== $tool: not installed (apt-get install ${PKG[$tool]}), skipped"
  fi
}
declare -A PKG=([lintian]=lintian [desktop-file-validate]=desktop-file-utils [appstreamcli]=appstream)
check lintian lintian --info "$ROOT/artefacts/$(basename "$DEB")"
check desktop-file-validate desktop-file-validate "$ROOT/packaging/com.tessaly.corvalin.desktop"
check appstreamcli appstreamcli validate --no-net "$B/packaging/com.tessaly.corvalin.metainfo.xml"
