#!/usr/bin/env bash
# Installs what is missing, builds, and starts Velmora.
set -uo pipefail
source "$(dirname "$0")/scripts/setup.sh"
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
    echo "velmora: no display found; run this from a desktop session (DISPLAY is not set)" >&2
    exit 1
fi
velmora_setup dev || exit 1
exec "$velmora_root/build/dev/velmora" "$@"
