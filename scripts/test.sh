#!/usr/bin/env bash
# Every test: installs what is missing from Debian's packages, then runs the host unit tests, the
# same under AddressSanitizer and UndefinedBehaviorSanitizer, builds and checks both Windows
# images and runs the Wine scenarios on each (win32: the product, under 32-bit Wine; win64: the
# same sources for x86_64), and last a bounded libFuzzer run of each fuzz target (clang).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh host windows wine fuzz release

for preset in host host-asan win32 win64 fuzz; do
    echo "=== $preset"
    cmake --workflow --preset "$preset"
done
