#!/usr/bin/env bash
# Saves every screen of the program, driven into the states the README shows, as PNGs
# in docs/screenshots (the title screen and menu with the backdrop come from xshot).
#   tools/make-screenshots.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset dev >/dev/null
cmake --build --preset dev --target velmora-screenshots
build/dev/tools/screenshots/velmora-screenshots docs/screenshots
