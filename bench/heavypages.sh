#!/usr/bin/env bash
# The heavy metafile pages, one process each (so each peak is its own page's), on the
# release build: file size, milliseconds to read and to draw the first time, their sum,
# and resident memory before, at the peak and after the page is let go.
#   bench/heavypages.sh
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/release
cmake --preset release >/dev/null && cmake --build --preset release --target bench_heavypages >/dev/null || exit 1
export QT_QPA_PLATFORM=offscreen
printf '%-11s %9s %8s %8s %8s %8s %8s %8s\n' kind file read draw show 'MB before' 'MB peak' 'MB after'
status=0
for kind in text big-text letters rectangles polylines wide dashed polygons outlines bitmaps photo clips; do
    "$build/bench/bench_heavypages" "$kind" || status=1
done
exit $status
