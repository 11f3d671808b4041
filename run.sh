#!/usr/bin/env bash
# Builds and starts one edition: ./run.sh [sorvik|dallune]
#
# Both editions run from one player folder, play/, with it as the current
# directory: the results, favourites, comments, settings, downloads, exports
# and network log all stay there, outside build/, and survive a clean build.
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

play=play
mkdir -p "$play"

# The fresh executable goes in under a temporary name and is renamed into
# place: copying onto a running executable fails ("Text file busy").
cp "build/bin/$edition" "$play/.$edition.new"
mv -f "$play/.$edition.new" "$play/$edition"

# Earlier runs kept the player's files beside the executable in build/bin/.
# Whatever of them the player folder lacks is copied over (never moved, never
# overwriting anything), before any example list is put in.
earlier=(vostrane.ini gfdmgd1.dat gfdmgd2.dat network_log.txt)
for game in GuitarFreaksV3 DrumManiaV3; do
    earlier+=("$game.txt" "$game.skill" "$game.favorite" "$game.comment")
done
copied=()
for name in "${earlier[@]}"; do
    if [ -f "build/bin/$name" ] && [ ! -e "$play/$name" ]; then
        cp -p "build/bin/$name" "$play/$name"
        copied+=("$name")
    fi
done
# Earlier runs of this script wrote the network log into the checkout, their
# current directory.
if [ -f network_log.txt ] && [ ! -e "$play/network_log.txt" ]; then
    cp -p network_log.txt "$play/network_log.txt"
    copied+=(network_log.txt)
fi
[ ${#copied[@]} -eq 0 ] || echo "Copied into $play/ what an earlier run left: ${copied[*]}"

# Start with the example song list when the folder has none yet.
[ -e "$play/$list" ] || cp "examples/$list" "$play/$list"

cd "$play"
exec "./$edition"
