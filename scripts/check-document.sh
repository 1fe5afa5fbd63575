#!/usr/bin/env bash
# Writes the sample meeting as a document, paints its pages with Corvalin and
# with LibreOffice, and puts them side by side: FOLDER/side-by-side.png.
# Needs a build (scripts/test.sh), libreoffice-writer-nogui, poppler-utils and imagemagick.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/scripts/libreoffice.sh"
OUT=${1:-$ROOT/artefacts}
mkdir -p "$OUT"
"$ROOT/build/tests/render_sample" "$OUT"
if [ -x "$ROOT/../shared/tools/validate-ooxml" ]; then "$ROOT/../shared/tools/validate-ooxml" "$OUT/sample.doc"; fi
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
libreoffice_to_pdf "$OUT/sample.doc" "$OUT" "$WORK"
pdftoppm -png -r 96 "$OUT/sample.pdf" "$OUT/libreoffice"
convert "$OUT/page-1.png" "$OUT"/libreoffice-1.png +append "$OUT/side-by-side.png"
echo "$OUT/side-by-side.png: Corvalin on the left, LibreOffice on the right"
