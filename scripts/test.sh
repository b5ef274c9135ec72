#!/usr/bin/env bash
# Every test: installs what is missing, then the host unit tests, the same under the sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh host

for preset in host host-asan; do
    echo "=== $preset"
    cmake --workflow --preset "$preset"
done
