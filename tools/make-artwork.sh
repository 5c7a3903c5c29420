#!/usr/bin/env bash
# Builds tools/artwork and uses it to (re)paint the pictures in data/.
#
# Usage: tools/make-artwork.sh
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

echo "Painting pictures into ${data_dir}"
mkdir -p "${data_dir}"
"${build_dir}/velmora-artwork" "${data_dir}"

echo "Files written:"
for picture in "${data_dir}/Images/quintaransm.jpg" "${data_dir}/Images/logo2.jpg"; do
    if [[ ! -s "${picture}" ]]; then
        echo "error: ${picture} is missing" >&2
        exit 1
    fi
    printf '  %s (%s bytes)\n' "${picture#"${repo_dir}/"}" "$(stat -c %s "${picture}")"
done
