#!/usr/bin/env bash
# All benchmarks, release build: start-up, then worksheet files (on the disk of the
# checkout, not in memory). Prints tables of figures.
#   bench/run.sh
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/bench/startup.sh" || exit 1
echo
"$root/build/release/bench/bench_worksheetfiles" --dir "$root/build/release"
