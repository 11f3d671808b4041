#!/usr/bin/env bash
# Builds the program and writes a PNG of every window of both editions (the
# main window at 600 x 450 and 1200 x 800 on each page, the result dialog in
# each input mode, the song information, send/receive, account, network
# settings and export dialogs, and the message boxes), drawn under the
# offscreen platform. Usage:
#   scripts/screenshots.sh <folder> [build-folder]
set -euo pipefail
if [ $# -lt 1 ]; then
    echo "usage: $0 <folder> [build-folder]" >&2
    exit 2
fi
out=$(realpath -m "$1")
cd "$(dirname "$0")/.."
build=${2:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target vos_screenshots -j "$(nproc)"
mkdir -p "$out"
for edition in sorvik dallune; do
    "$build/bin/vos_screenshots" "$edition" "$out"
done
