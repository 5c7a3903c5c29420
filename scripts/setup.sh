# Shared by run.sh and test.sh: installs what a fresh Debian 12 machine lacks, then
# configures and builds with the named CMake preset. Source it; do not run it.
#   velmora_setup PRESET [extra packages...]

velmora_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Everything the build, the program and its tests need from Debian. Installed without
# Recommends, so a tool's fonts are named too: wmf2svg (libwmf-bin) finds none without
# fonts-urw-base35.
velmora_packages=(
    g++ cmake ninja-build
    qt6-base-dev libgl-dev libwmf-dev libfontconfig-dev
    fonts-liberation2 fonts-wine
    poppler-utils libwmf-bin fonts-urw-base35
)

velmora_install_missing() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [[ ${#missing[@]} -eq 0 ]] && return 0
    echo "velmora: installing ${missing[*]}"
    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        command -v sudo >/dev/null || { echo "velmora: please install as root: ${missing[*]}" >&2; return 1; }
        sudo=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}" \
        || { "${sudo[@]}" apt-get update && "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; }
}

velmora_setup() {
    local preset=$1
    shift
    velmora_install_missing "${velmora_packages[@]}" "$@" || return 1
    cd "$velmora_root" || return 1
    cmake --preset "$preset" >/dev/null || return 1
    cmake --build --preset "$preset" || return 1
}
