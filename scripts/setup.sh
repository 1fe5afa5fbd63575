# Shared by run.sh and test.sh: installs the Debian packages the build needs,
# then configures and builds into build/. Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Installs the named packages that are missing: with apt-get as root,
# otherwise it says the one line to run and stops.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  ((${#missing[@]} == 0)) && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  else
    echo "Some packages are missing. Run this once, then try again:" >&2
    echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
}

BUILD_PACKAGES=(cmake make g++ pkg-config qt6-base-dev libzip-dev libgtest-dev libgmock-dev
                libbenchmark-dev fonts-liberation2 fonts-wine fonts-droid-fallback fonts-nanum
                fonts-dejavu-core)

build_program() {
  cmake -S "$ROOT" -B "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVALIN_TESTS=ON >/dev/null
  cmake --build "$ROOT/build" -j"$(nproc)"
}
