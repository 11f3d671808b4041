#!/usr/bin/env bash
# Measures, side by side under one Xvfb, how long an empty Qt main window and
# the Sorvik main window (501 songs, a result on every chart) take from the
# process start to the window being mapped. Usage:
#   scripts/measure-startup.sh [build-folder] [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rounds=${2:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The full table: ASCII names, so the bytes are the same in CP932.
python3 - "$work" <<'PY'
import sys
folder = sys.argv[1]
with open(f"{folder}/GuitarFreaksV3.txt", "wb") as master, open(f"{folder}/GuitarFreaksV3.skill", "wb") as skill:
    for i in range(501):
        code = i if i < 300 else 1000 + i if i < 420 else 2000 + i if i < 460 else 3000 + i
        levels = [10 + (i * 7 + c * 11) % 90 for c in range(9)]
        name = f"Benchmark Song {i:03d}"
        master.write(("\t".join([name, "150"] + [str(v) for v in levels] + ["0"] * 10 + ["short", "", str(code)]) + "\r\n").encode())
        rows = []
        for row in range(2):
            for c in range(9):
                rate = 6000 + (i * 13 + c * 5) % 40 * 97
                # k = 0..7: the percentages or counts, then Rate / TotalNotes, then Reserved / InputMode.
                rows += ["0"] * 6 + ([str(rate), "0"] if row == 0 else ["0", "1"])
        skill.write((name + "\t" + "".join(v + "\t" for v in rows) + "$\r\n").encode())
PY
cp "$build/bin/sorvik" "$work/"

cat > "$work/empty.cpp" <<'CPP'
#include <QApplication>
#include <QMainWindow>
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(600, 450);
    window.show();
    return app.exec();
}
CPP
# Starts a program and prints the milliseconds until its first top-level
# window is mapped, then ends it with SIGTERM.
cat > "$work/maptime.cpp" <<'CPP'
#include <X11/Xlib.h>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>
int main(int, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 2;
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    timespec start, mapped;
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t child = fork();
    if (child == 0) {
        execv(argv[1], argv + 1);
        _exit(127);
    }
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect) break;
    }
    clock_gettime(CLOCK_MONOTONIC, &mapped);
    std::printf("%.1f\n", (mapped.tv_sec - start.tv_sec) * 1e3 + (mapped.tv_nsec - start.tv_nsec) / 1e6);
    usleep(200000);
    kill(child, SIGTERM);
    int status;
    waitpid(child, &status, 0);
    return 0;
}
CPP
g++ -O2 -fPIC -o "$work/empty" "$work/empty.cpp" $(pkg-config --cflags --libs Qt6Widgets)
g++ -O2 -o "$work/maptime" "$work/maptime.cpp" -lX11

cat > "$work/run.sh" <<SH
cd "$work"
for i in \$(seq $rounds); do
    echo "empty \$(./maptime ./empty)"
    echo "sorvik \$(./maptime ./sorvik)"
done
SH
xvfb-run -a -s '-screen 0 1280x1024x24' bash "$work/run.sh" 2>/dev/null | python3 -c '
import statistics, sys
times = {}
for line in sys.stdin:
    name, ms = line.split()
    times.setdefault(name, []).append(float(ms))
for name, values in times.items():
    runs = " ".join("%.0f" % v for v in values)
    print("%-7s median %7.1f ms  (runs: %s)" % (name, statistics.median(values), runs))
e, s = statistics.median(times["empty"]), statistics.median(times["sorvik"])
print("ratio   %.2f" % (s / e))
'
