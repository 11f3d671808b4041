#!/usr/bin/env bash
# Kills the real programs while they save at exit and checks that the settings
# file is always whole and no temporary file stays behind. Two rounds a turn:
#   one edition: SIGTERM, then SIGKILL 0-80 ms later;
#   both editions in one folder: SIGTERM to each, 0-30 ms apart.
# Usage: scripts/kill-during-exit.sh [build-folder] [turns]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
turns=${2:-50}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

cp "$build/bin/sorvik" "$build/bin/dallune" examples/GuitarFreaksV3.txt examples/DrumManiaV3.txt "$work/"
ini="$work/vostrane.ini"

keys() { if [ -f "$ini" ]; then awk '/=/ { n++ } END { print n + 0 }' "$ini"; else echo 0; fi; }
# Starts an edition into $pid and waits until it has come up (its exit would
# otherwise race its start-up).
start() { "$work/$1" >/dev/null 2>&1 & pid=$!; sleep 0.4; }
# A random number of milliseconds below $1, as seconds for sleep.
pause_below() { printf '0.%03d' $((RANDOM % $1)); }

# One clean exit of each edition writes every key of both.
for edition in sorvik dallune; do
    start "$edition"; kill -TERM "$pid"; wait "$pid" || true
done
full=$(keys)
echo "settings file after clean exits: $full keys"

emptied=0 lost=0 leftovers=0
for ((turn = 1; turn <= turns; turn++)); do
    start sorvik
    kill -TERM "$pid"; sleep "$(pause_below 80)"; kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    [ -s "$ini" ] || emptied=$((emptied + 1))
    [ "$(keys)" -ge "$full" ] || lost=$((lost + 1))
    leftovers=$((leftovers + $(find "$work" -name '*.tmp*' | wc -l)))

    start sorvik; a=$pid; start dallune; b=$pid
    kill -TERM "$a"; sleep "$(pause_below 30)"; kill -TERM "$b"
    wait "$a" "$b" 2>/dev/null || true
    [ "$(keys)" -ge "$full" ] || lost=$((lost + 1))
done
echo "$turns turns: settings file emptied $emptied times, keys lost $lost times, $leftovers temporary files left"
[ "$emptied" -eq 0 ] && [ "$lost" -eq 0 ]
