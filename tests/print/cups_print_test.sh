#!/usr/bin/env bash
# A two-disc A4 sheet printed by cirquel-cli through a private CUPS queue
# (cups-pdf): one page of the stock's size, both discs where the stock puts
# them (46.5 mm from the left, 117 mm across, tops at 21 and 159 mm).
#   cups_print_test.sh CLI WORKDIR
set -euo pipefail
cli=$1; work=$2
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "cups_print_test: $*" >&2; exit 1; }
for tool in pdfinfo pdftoppm python3; do
  command -v $tool >/dev/null || fail "$tool is missing (scripts/bootstrap installs poppler-utils)"
done

"$here/cups_queue.sh" "$work" cirqueltest \
  "$cli" print --template "Generic CD/DVD 2-up A4" --hue 0 --printer cirqueltest ||
  fail "printing through the private queue failed"

pdf=$(find "$work/out" -name '*.pdf' | head -1)
[ -n "$pdf" ] || fail "cups-pdf wrote no PDF (see $work/log)"
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
size=$(pdfinfo "$pdf" | awk '/^Page size:/ {print $3 "x" $5}')
[ "$pages" = 1 ] || fail "expected one page, got $pages"
# A4 is 595.28 x 841.89 points; cups-pdf rounds to whole points.
case "$size" in 595*x841*|595*x842*) ;; *) fail "page size $size is not A4";; esac

pdftoppm -r 50 -gray -singlefile "$pdf" "$work/page"
python3 - "$work/page.pgm" <<'PY' || exit 1
import sys
data = open(sys.argv[1], 'rb').read()
parts = data.split(maxsplit=4)
w, h = int(parts[1]), int(parts[2])
px = parts[4][-w * h:]
k = 50 / 25.4
def at(x_mm, y_mm):
    return px[int(y_mm * k) * w + int(x_mm * k)]
checks = [
    ("first disc", at(105, 40) < 200),
    ("second disc", at(105, 178) < 200),
    ("first disc's left edge", at(48, 79.5) < 200),
    ("between the discs", at(105, 148.5) > 240),
    ("left of the discs", at(40, 79.5) > 240),
    ("the first disc's hole", at(105, 79.5) > 240),
]
bad = [name for name, ok in checks if not ok]
if bad:
    print("cups_print_test: wrong at " + ", ".join(bad), file=sys.stderr)
    sys.exit(1)
PY
echo "cups_print_test: one A4 page, both discs in place ($pdf)"
