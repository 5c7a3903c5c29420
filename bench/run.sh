#!/usr/bin/env bash
# Every benchmark, on the release build, one table after another:
#   start-up beside a bare Qt window, screen changes and memory, metafile pages,
#   worksheet files (with 300 killed saves and 20 saves onto a full disk), eight copies
#   of the program changing one worksheet list, and the random walk of 20 seeds x
#   10 000 events.
#   bench/run.sh            (about ten minutes on two cores)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/bench/startup.sh" || exit 1
build=$root/build/release
cmake --build --preset release --target bench_screens bench_metafile bench_worksheetfiles bench_sharedlist bench_walker >/dev/null || exit 1
status=0
echo
"$build/bench/bench_screens" 15 || status=1
echo
"$build/bench/bench_metafile" || status=1
echo
"$build/bench/bench_worksheetfiles" --dir "$build" --kills 300 || status=1
echo
"$build/bench/bench_sharedlist" --dir "$build" --copies 8 --operations 100 --slow-sync 4 || status=1
echo
"$build/bench/bench_walker" 20 10000 || status=1
exit $status
