#!/usr/bin/env bash
# Builds and starts one edition: ./run.sh [sorvik|dallune]
set -euo pipefail
cd "$(dirname "$0")"
edition=${1:-sorvik}
case "$edition" in
    sorvik) list=GuitarFreaksV3.txt ;;
    dallune) list=DrumManiaV3.txt ;;
    *) echo "usage: ./run.sh [sorvik|dallune]" >&2; exit 2 ;;
esac
source ./scripts/deps.sh
install_missing_packages
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target "$edition"
# The program keeps its files beside the executable; start with the example
# song list there when it has none yet, and never overwrite anything.
[ -e "build/bin/$list" ] || cp "examples/$list" "build/bin/$list"
exec "build/bin/$edition"
