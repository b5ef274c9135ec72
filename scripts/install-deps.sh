#!/usr/bin/env bash
# Installs from Debian's packages whatever the named parts of the build need and is missing.
#   scripts/install-deps.sh host windows wine fuzz release
# Parts: host (CMake, g++, GoogleTest), windows (mingw-w64 C and C++, llvm-readobj), wine (wine64
# and 32-bit Wine through qemu's user-mode emulator, Xvfb, ImageMagick, the ja_JP.UTF-8 locale),
# fuzz (clang and its libFuzzer runtime), release (osslsigncode, openssl). Every step is skipped when its work is already done.
set -euo pipefail

declare -A PACKAGES=(
    [host]="cmake make gcc g++ libgtest-dev"
    [windows]="gcc-mingw-w64-i686 gcc-mingw-w64-x86-64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 llvm-14"
    [wine]="wine wine64 xvfb imagemagick locales"
    [fuzz]="clang-14 libclang-rt-14-dev"
    [release]="osslsigncode openssl"
)

wanted=()
for part in "$@"; do
    if [[ -z "${PACKAGES[$part]+set}" ]]; then
        echo "install-deps: unknown part '$part' (host, windows, wine, fuzz, release)" >&2
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
    # No recommends: they would bring wine32 before the emulator that runs it is registered.
    if ! apt-get install -y -q --no-install-recommends "${wanted[@]}" >/tmp/launch-apt-install.log 2>&1; then
        tail -20 /tmp/launch-apt-install.log >&2
        echo "install-deps: could not install ${wanted[*]}; see /tmp/launch-apt-install.log" >&2
        exit 1
    fi
fi

if [[ " $* " == *" wine "* ]]; then
    "$(dirname "$0")/install-wine32.sh"
fi
