#!/usr/bin/env bash
# Writes the sample meeting as a document, paints its pages with Corvalin and
# with LibreOffice, and puts them side by side: FOLDER/side-by-side.png.
# Needs a build (scripts/test.sh), libreoffice-writer-nogui, poppler-utils and imagemagick.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
OUT=${1:-$ROOT/artefacts}
mkdir -p "$OUT"
"$ROOT/build/tests/render_sample" "$OUT"
if [ -x "$ROOT/../shared/tools/validate-ooxml" ]; then "$ROOT/../shared/tools/validate-ooxml" "$OUT/sample.doc"; fi
# LibreOffice sees the same Tahoma as Corvalin only when fontconfig is told where it is.
cat > "$OUT/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig><include ignore_missing="yes">/etc/fonts/fonts.conf</include><dir>/usr/share/wine/fonts</dir></fontconfig>
CONF
(cd "$OUT" && FONTCONFIG_FILE="$OUT/fonts.conf" soffice --headless --convert-to pdf sample.doc >/dev/null 2>&1)
pdftoppm -png -r 96 "$OUT/sample.pdf" "$OUT/libreoffice"
convert "$OUT/page-1.png" "$OUT"/libreoffice-1.png +append "$OUT/side-by-side.png"
echo "$OUT/side-by-side.png: Corvalin on the left, LibreOffice on the right"
