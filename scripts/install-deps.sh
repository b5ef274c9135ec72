#!/usr/bin/env bash
# Installs from Debian's packages whatever the named parts of the build need and is missing.
#   scripts/install-deps.sh host windows wine fuzz
# Parts: host (CMake, g++, GoogleTest), windows (mingw-w64, llvm-readobj), wine (wine64, Xvfb,
# ImageMagick), fuzz (clang and its libFuzzer runtime).
set -euo pipefail

declare -A PACKAGES=(
    [host]="cmake make gcc g++ libgtest-dev"
    [windows]="gcc-mingw-w64-i686 gcc-mingw-w64-x86-64 llvm-14"
    [wine]="wine wine64 xvfb imagemagick"
    [fuzz]="clang-14 libclang-rt-14-dev"
)

wanted=()
for part in "$@"; do
    if [[ -z "${PACKAGES[$part]+set}" ]]; then
        echo "install-deps: unknown part '$part' (host, windows, wine, fuzz)" >&2
        exit 2
    fi
    for package in ${PACKAGES[$part]}; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            wanted+=("$package")
        fi
    done
done

if ((${#wanted[@]})); then
    echo "install-deps: installing ${wanted[*]}"
    if [[ $(id -u) -ne 0 ]]; then
        echo "install-deps: missing packages ${wanted[*]}; run as root or install them" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    if ! apt-get update -q >/tmp/launch-apt-update.log 2>&1; then
        echo "install-deps: apt-get update failed; see /tmp/launch-apt-update.log" >&2
        exit 1
    fi
    # No recommends: they would bring wine32, which this machine's kernel cannot run and which
    # Debian's wine wrapper would then prefer over wine64.
    if ! apt-get install -y -q --no-install-recommends "${wanted[@]}" >/tmp/launch-apt-install.log 2>&1; then
        tail -20 /tmp/launch-apt-install.log >&2
        echo "install-deps: could not install ${wanted[*]}; see /tmp/launch-apt-install.log" >&2
        exit 1
    fi
fi

if [[ " $* " == *" wine "* ]] && dpkg-query -W -f='${Status}' wine32 2>/dev/null | grep -q 'install ok installed'; then
    echo "install-deps: wine32 is installed; on this machine it makes every Wine run fail with" \
        "'Exec format error'. Remove it: apt-get remove wine32" >&2
    exit 1
fi
