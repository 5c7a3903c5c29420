#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite (headless).
set -uo pipefail
source "$(dirname "$0")/scripts/setup.sh"
velmora_setup dev || exit 1
ctest --preset dev
