#!/usr/bin/env bash
# How closely Corvalin's pages follow LibreOffice's layout of the same document.
# For each meeting (a store file, as Tessaly.ini), the document is made as the
# program makes it, then LibreOffice converts it to PDF, and its PDF is set
# beside Corvalin's own, page by page and line by line (pdftotext). Prints a
# Markdown table row for each meeting.
#
#   scripts/fidelity.sh [--at-least PERCENT] MEETING... [--at-least PERCENT] MEETING...
#
# With --at-least, the meetings after it must come out with as many pages as
# LibreOffice's and at least PERCENT of their lines identical; the exit code is
# 1 when one does not. `build/tests/meeting_document --examples FOLDER` writes
# the meetings the README's table is measured on.
# Needs a build (scripts/test.sh), libreoffice-writer-nogui, poppler-utils, python3.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/scripts/libreoffice.sh"
TOOL=${MEETING_DOCUMENT:-$ROOT/build/tests/meeting_document}
LIMIT=${FIDELITY_TIME_LIMIT:-180}  # seconds for one conversion

for needed in soffice pdftotext python3; do
    if ! command -v "$needed" >/dev/null; then
        echo "fidelity: $needed is not installed (libreoffice-writer-nogui, poppler-utils, python3)" >&2
        exit 2
    fi
done
[ -x "$TOOL" ] || { echo "fidelity: $TOOL is missing: build first (scripts/test.sh)" >&2; exit 2; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# Page counts and the share of identical lines: on each page, the lines both
# PDFs hold in the same order, of the longer page's lines.
compare() {
    python3 - "$@" <<'PY'
import difflib, subprocess, sys

def pages(pdf):
    text = subprocess.run(["pdftotext", "-enc", "UTF-8", pdf, "-"], capture_output=True, text=True,
                          check=True).stdout
    found = text.split("\f")
    if found and not found[-1].strip():
        found.pop()
    return [[line.strip() for line in page.splitlines() if line.strip()] for page in found]

name, ours, theirs, least = sys.argv[1], pages(sys.argv[2]), pages(sys.argv[3]), sys.argv[4]
lines = same = 0
differ = []
for number in range(max(len(ours), len(theirs))):
    a = ours[number] if number < len(ours) else []
    b = theirs[number] if number < len(theirs) else []
    matched = sum(block.size for block in difflib.SequenceMatcher(None, a, b, autojunk=False).get_matching_blocks())
    lines += max(len(a), len(b))
    same += matched
    if matched < max(len(a), len(b)):
        differ.append(str(number + 1))
share = 100.0 * same / lines if lines else 100.0
print(f"| {name} | {len(ours)} / {len(theirs)} | {same} of {lines} ({share:.1f} %) | {', '.join(differ) or 'none'} |")
if least and (len(ours) != len(theirs) or share < float(least)):
    print(f"fidelity: {name} falls short of {least} % identical lines on as many pages", file=sys.stderr)
    sys.exit(1)
PY
}

least=""
failed=0
echo "| Meeting | Pages, Corvalin / LibreOffice | Identical lines | Pages that differ |"
echo "|---|---|---|---|"
while [ $# -gt 0 ]; do
    if [ "$1" = "--at-least" ]; then
        least=$2
        shift 2
        continue
    fi
    meeting=$1
    shift
    name=$(basename "${meeting%.*}")
    if ! "$TOOL" "$meeting" "$WORK" >/dev/null 2>"$WORK/tool.log"; then
        cat "$WORK/tool.log" >&2
        echo "fidelity: no document made of $meeting" >&2
        failed=1
        continue
    fi
    libreoffice_to_pdf "$WORK/$name.doc" "$WORK/libreoffice" "$WORK" "$LIMIT" || { failed=1; continue; }
    compare "$name" "$WORK/$name.corvalin.pdf" "$WORK/libreoffice/$name.pdf" "$least" || failed=1
done
exit "$failed"
