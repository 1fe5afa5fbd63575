#!/usr/bin/env bash
# Sets up (Debian packages, build) and runs every test, twice: in the normal
# build, then in a build with the address and undefined-behaviour sanitizers.
# Needs no display.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# libxml2-utils and python3 check saved documents against the document schemas;
# poppler-utils reads back the PDF files the preview writes and prints;
# clang-format checks the house style; LibreOffice lays out the same documents
# for the fidelity test to set beside Corvalin's pages.
ensure_packages "${BUILD_PACKAGES[@]}" libxml2-utils python3 poppler-utils clang-format libreoffice-writer-nogui

echo "The house style (scripts/format.sh --check):"
bash "$ROOT/scripts/format.sh" --check

build_program

(cd "$ROOT/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300)

echo "The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer:"
cmake -S "$ROOT" -B "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVALIN_SANITIZE=ON \
      -DCORVALIN_BENCHMARKS=OFF >/dev/null
cmake --build "$ROOT/build-asan" -j"$(nproc)"
cd "$ROOT/build-asan"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS="suppressions=$ROOT/tests/sanitizers/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 600
