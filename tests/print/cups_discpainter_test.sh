#!/usr/bin/env bash
# A DiscPainter template printed by cirquel-cli with no queue named: the job
# goes to the DiscPainter queue of a private CUPS daemon (a driver
# description of our own) and carries the selected medium's settings as the
# job options that description offers, and no others.
#   cups_discpainter_test.sh CLI WORKDIR PPD
set -euo pipefail
cli=$1; work=$2; ppd=$3
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "cups_discpainter_test: $*" >&2; exit 1; }
command -v pdfinfo >/dev/null || fail "pdfinfo is missing (scripts/bootstrap installs poppler-utils)"

CUPS_QUEUE_PPD=$ppd "$here/cups_queue.sh" "$work" discpainter \
  "$cli" print --template "DYMO DiscPainter" --hue 0 --copies 2 ||
  fail "printing to the DiscPainter queue failed"

pdf=$(find "$work/out" -name '*.pdf' | head -1)
[ -n "$pdf" ] || fail "the queue wrote no PDF (see $work/log)"
control=$(find "$work/spool" -maxdepth 1 -name 'c0*' | head -1)
[ -n "$control" ] || fail "no job control file in $work/spool"
# The job's attributes as the daemon stored them (IPP encoding).
python3 - "$control" <<'PY' || exit 1
import struct, sys
data = open(sys.argv[1], 'rb').read()
attrs, i, name = {}, 8, None
while i < len(data):
    tag = data[i]; i += 1
    if tag == 0x03: break
    if tag < 0x10: continue
    n = struct.unpack('>H', data[i:i + 2])[0]; i += 2
    if n: name = data[i:i + n].decode('latin-1')
    i += n
    m = struct.unpack('>H', data[i:i + 2])[0]; i += 2
    value = data[i:i + m]; i += m
    if tag in (0x21, 0x23): value = str(struct.unpack('>i', value)[0])
    else: value = value.decode('latin-1')
    attrs.setdefault(name, value)
# The default medium of a 120 mm disc: quality 3, density 5, hole 18 mm, disc 118 mm.
want = {'PrintQuality': '3', 'InkDensity': '5', 'Full120Inner': '18', 'Full120Outer': '118',
        'copies': '2'}
bad = [f"{k}={attrs.get(k)} (want {v})" for k, v in want.items() if attrs.get(k) != v]
media = attrs.get('PageSize', '') + attrs.get('media', '')
if 'Disc120' not in media and '120' not in media:
    bad.append(f"page size {media!r} is not the first (120 mm) paper")
# Not offered by the description: not sent.
bad += [f"{k} was sent" for k in ('MediaSize', 'Full80Inner', 'Full80Outer') if k in attrs]
if bad:
    print("cups_discpainter_test: " + "; ".join(bad), file=sys.stderr)
    print(sorted(attrs.items()), file=sys.stderr)
    sys.exit(1)
PY
echo "cups_discpainter_test: the DiscPainter queue got the job with its options ($pdf)"
