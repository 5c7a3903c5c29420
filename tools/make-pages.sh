#!/usr/bin/env bash
# Draws the reading pages (key facts, teacher's notes, acknowledgments, teachers' guide)
# from tools/pages/text/*.txt into data/wmf (screen) and data/wmf2 (print).
#   tools/make-pages.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset dev >/dev/null
cmake --build --preset dev --target velmora-pages
build/dev/tools/pages/velmora-pages tools/pages/text data
