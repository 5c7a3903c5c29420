#!/usr/bin/env bash
# Builds tools/artwork and uses it to (re)paint the pictures in data/.
#
# Usage: tools/make-artwork.sh
#
# The teacher's page logo is a set of GIF frames (data/logo/kest0000.gif to
# kest0019.gif). Qt cannot write GIF, so velmora-artwork paints the frames as
# PNG files in a scratch folder and ImageMagick's `convert` turns them into
# GIFs here, all sharing one palette (with the page's blue in it exactly) so
# the frames do not flicker against each other.
# The build folder defaults to ${TMPDIR:-/tmp}/velmora-artwork; set
# VELMORA_ARTWORK_BUILD_DIR to use another one.
set -euo pipefail

script_dir="$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")" && pwd)"
repo_dir="$(cd -- "${script_dir}/.." && pwd)"
source_dir="${script_dir}/artwork"
data_dir="${repo_dir}/data"
build_dir="${VELMORA_ARTWORK_BUILD_DIR:-${TMPDIR:-/tmp}/velmora-artwork}"

generator_args=()
if [[ ! -f "${build_dir}/CMakeCache.txt" ]] && command -v ninja >/dev/null 2>&1; then
    generator_args=(-G Ninja)
fi

echo "Configuring ${source_dir} in ${build_dir}"
cmake -S "${source_dir}" -B "${build_dir}" "${generator_args[@]}" -DCMAKE_BUILD_TYPE=Release

echo "Building velmora-artwork"
cmake --build "${build_dir}" --parallel

if ! command -v convert >/dev/null 2>&1; then
    echo "error: ImageMagick's convert is needed to write the logo GIFs" >&2
    exit 1
fi

frames_dir="$(mktemp -d "${TMPDIR:-/tmp}/velmora-frames.XXXXXX")"
trap 'rm -rf -- "${frames_dir}"' EXIT

echo "Painting pictures into ${data_dir}"
mkdir -p "${data_dir}"
"${build_dir}/velmora-artwork" "${data_dir}" "${frames_dir}"

echo "Converting the logo frames to GIF"
logo_blue='rgb(49,135,214)'
frame_count=20
frames=()
for ((i = 0; i < frame_count; i++)); do
    frames+=("${frames_dir}/$(printf 'kest%04d.png' "${i}")")
done
# One palette for every frame: 63 colours chosen from all frames together,
# plus the page's blue so the box edges stay exactly that colour.
convert "${frames[@]}" +append +dither -colors 63 -unique-colors "${frames_dir}/palette-colours.png"
convert "${frames_dir}/palette-colours.png" "xc:${logo_blue}" +append "${frames_dir}/palette.png"
mkdir -p "${data_dir}/logo"
for ((i = 0; i < frame_count; i++)); do
    gif="${data_dir}/logo/$(printf 'kest%04d.gif' "${i}")"
    convert "${frames[i]}" +dither -remap "${frames_dir}/palette.png" "${gif}"
    corner="$(convert "${gif}" -format '%[pixel:p{0,0}] %[pixel:p{119,119}] %[pixel:p{60,0}]' info:)"
    for colour in ${corner}; do
        case "${colour}" in
            "srgb(49,135,214)" | "rgb(49,135,214)") ;;
            *)
                echo "error: ${gif} edge colour is ${colour}, expected ${logo_blue}" >&2
                exit 1
                ;;
        esac
    done
done

echo "Files written:"
pictures=(
    "${data_dir}/Images/quintaransm.jpg"
    "${data_dir}/Images/logo2.jpg"
    "${data_dir}/Images/globe.jpg"
    "${data_dir}/Images/ardovin1.jpg"
    "${data_dir}/Images/ardovin1sm.jpg"
    "${data_dir}/Images/telescope.jpg"
    "${data_dir}/logo/halvorn2.bmp"
)
for ((i = 0; i < frame_count; i++)); do
    pictures+=("${data_dir}/logo/$(printf 'kest%04d.gif' "${i}")")
done
for picture in "${pictures[@]}"; do
    if [[ ! -s "${picture}" ]]; then
        echo "error: ${picture} is missing" >&2
        exit 1
    fi
    printf '  %s (%s bytes)\n' "${picture#"${repo_dir}/"}" "$(stat -c %s "${picture}")"
done
