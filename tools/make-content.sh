#!/usr/bin/env bash
# Regenerates every data file the program reads from its source in tools/:
#   pictures   tools/artwork      -> data/Images, data/logo
#   pages      tools/pages/text   -> data/wmf, data/wmf2
#   unit quiz  tools/quiz         -> data/multiple/Ardovin Sevrani.txt (and track.txt)
#   tools/make-content.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/make-artwork.sh
tools/make-pages.sh
cmake --build --preset dev --target velmora-quiz
build/dev/tools/quiz/velmora-quiz tools/quiz/unit-quiz.txt data
