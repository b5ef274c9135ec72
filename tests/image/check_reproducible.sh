#!/usr/bin/env bash
# Builds LAUNCH.EXE again in a fresh build tree and compares it with the first build, byte for byte.
#   check_reproducible.sh SOURCE_DIR TOOLCHAIN_FILE BUILT_EXE
set -euo pipefail
source_dir=$1 toolchain=$2 built=$3
tree=$(mktemp -d /tmp/launch-repro.XXXXXX)
trap 'rm -rf "$tree"' EXIT
"$(dirname "$0")/build_fresh.sh" "$source_dir" "$toolchain" "$tree/other-build-folder"
if cmp "$built" "$tree/other-build-folder/LAUNCH.EXE"; then
    echo "reproducible: $(stat -c %s "$built") bytes, the same in both builds"
else
    echo "FAIL: a second build of LAUNCH.EXE differs from $built" >&2
    exit 1
fi
