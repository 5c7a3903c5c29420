#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite (headless).
set -uo pipefail
source "$(dirname "$0")/scripts/setup.sh"
# The desktop tests drive the real program under real window managers on a private
# X server.
velmora_setup dev xvfb openbox tint2 xfwm4 dbus-daemon wmctrl xdotool x11-utils imagemagick \
    at-spi2-core python3-pyatspi || exit 1
ctest --preset dev
