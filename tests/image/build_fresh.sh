#!/usr/bin/env bash
# Builds LAUNCH.EXE alone in a fresh build tree, as the Windows presets configure it, so that the
# bytes can be compared with a preset's build or shipped.
#   build_fresh.sh SOURCE_DIR TOOLCHAIN_FILE BUILD_DIR
# The image is BUILD_DIR/LAUNCH.EXE; on failure the build's last lines go to stderr.
set -euo pipefail
source_dir=$1 toolchain=$2 tree=$3
log=$tree.log
{ cmake -S "$source_dir" -B "$tree" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=MinSizeRel && cmake --build "$tree" --target launch_exe; } >"$log" 2>&1 ||
    { tail -20 "$log" >&2; exit 1; }
