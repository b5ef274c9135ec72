#!/usr/bin/env bash
# Builds the product, build/win32/LAUNCH.EXE, installing the compilers first when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh windows
cmake --preset win32 >/dev/null
cmake --build --preset win32
ls -l build/win32/LAUNCH.EXE
