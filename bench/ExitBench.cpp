// The program's exit with a full 501-song guitar table and a settings file of
// every window's keys, from the close request to the last byte written: the
// settings written in one go, beside the former way of rewriting the file in
// place once a key.
#include "bench/FullTable.h"
#include "data/Edition.h"
#include "data/Unitini.h"
#include "platform/PrivateProfile.h"
#include "platform/ProgramDir.h"
#include "ui/MainForm.h"
#include "ui/ProgramMain.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The former single write: the file read, the key changed, the file truncated
// and written again in place.
void RewriteKeyInPlace(const ProfileWrite& write) {
    const std::string text =
        ProfileUpdate(ReadProfileText(IniFileName), write.Section, write.Key, write.Value);
    const int fd = ::open(IniFileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return;
    if (::write(fd, text.data(), text.size()) < 0) benchmark::DoNotOptimize(fd);
    ::close(fd);
}

enum class SettingsWrites { OneByOneInPlace, InOneGo };

void Exit(benchmark::State& state, SettingsWrites how) {
    BenchApplication();
    auto dir = WriteFullGuitarFiles();
    SetProgramDirectoryForTests(dir->Dir());
    auto startAndExit = [&](bool timed) {
        WindowSet windows;
        windows.Create(CreationOrder(GuitarEdition()));
        if (timed) state.ResumeTiming();
        Windows().Main->close();
        if (how == SettingsWrites::InOneGo) {
            windows.Destroy();
        } else {
            IniWriteBatch gathered;
            windows.Destroy();
            for (const ProfileWrite& write : gathered.TakeWrites())
                RewriteKeyInPlace(write);
        }
        if (timed) state.PauseTiming();
        ReleaseProgramData();
    };
    startAndExit(false); // leaves a settings file of every key
    for (auto _ : state) {
        state.PauseTiming();
        startAndExit(true);
        state.ResumeTiming();
    }
    SetProgramDirectoryForTests(std::nullopt);
}

void BM_ExitSettingsOneByOneInPlace(benchmark::State& state) {
    Exit(state, SettingsWrites::OneByOneInPlace);
}
void BM_ExitSettingsInOneGo(benchmark::State& state) {
    Exit(state, SettingsWrites::InOneGo);
}

} // namespace

BENCHMARK(BM_ExitSettingsOneByOneInPlace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExitSettingsInOneGo)->Unit(benchmark::kMillisecond);
