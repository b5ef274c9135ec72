#!/usr/bin/env bash
# Every test: installs what is missing from Debian's packages, then runs the host unit tests, the
# same under AddressSanitizer and UndefinedBehaviorSanitizer, and builds and checks both Windows
# images (win32: the product; win64: the same sources, run end to end under wine64, where the
# Wine scenarios run too), and last a bounded libFuzzer run of each fuzz target (clang).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh host windows wine fuzz

for preset in host host-asan win32 win64 fuzz; do
    echo "=== $preset"
    cmake --workflow --preset "$preset"
done
