// The update check of the settings dialog on a list made wholly of newer data
// lines, the worst a hostile host can send: from the press of "更新チェック"
// (the list fetched from the fake service on 127.0.0.1) to the download
// question, answered No. The settings file holds every window's keys and a
// [check] value for each kind, older than the list.
#include "bench/FullTable.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/Unitini.h"
#include "net/PropertyForm.h"
#include "platform/gui/ByteLimitedEdit.h"
#include "platform/gui/MessageBoxes.h"
#include "platform/gui/QtText.h"
#include "tests/TestSupport.h"
#include "tests/net/FakeService.h"

#include <QPlainTextEdit>
#include <benchmark/benchmark.h>

#include <string>

namespace {

const char* const kSettings =
    "[config]\r\nplay=0\r\n\r\n"
    "[GuitarFreaksV3]\r\nperfect=80\r\ngreat=20\r\ngood=0\r\npoor=0\r\nmiss=0\r\n"
    "combo=20\r\nwaru=100\r\n\r\n"
    "[form]\r\ntop=10\r\nleft=10\r\nwidth=800\r\nheight=555\r\n\r\n"
    "[list]\r\nswA=TRUE\r\nswF=FALSE\r\nswN=FALSE\r\nsw0=FALSE\r\nsw1=FALSE\r\n"
    "sw2=FALSE\r\nsw3=FALSE\r\nsw4=FALSE\r\nsw5=FALSE\r\nsw6=FALSE\r\nsw7=FALSE\r\n"
    "sw8=FALSE\r\n\r\n"
    "[batch]\r\nupdateflag=TRUE\r\n\r\n"
    "[result]\r\nupcheck=TRUE\r\nauto=FALSE\r\n\r\n"
    "[link]\r\naccount=player\r\npassword=secret\r\n"
    "access=0123456789abcdef0123456789abcdef\r\nserver=http://127.0.0.1/\r\n\r\n"
    "[ExportText]\r\nsw1=0\r\nsw3=0\r\nsw4=0\r\nsw5=0\r\nsw6=0\r\nsw7=0\r\nsw8=0\r\n"
    "sw9=0\r\nsw10=0\r\n\r\n"
    "[ExportHtml]\r\nsw1=1\r\nsw2=1\r\nsw3=1\r\nsw4=1\r\nsw5=0\r\nsw6=1\r\nsw7=0\r\n"
    "sw8=0\r\nsw9=0\r\nsw10=0\r\nsw11=0\r\nsw12=0\r\nsw13=0\r\n\r\n"
    "[Export]\r\nsw0=0\r\n\r\n"
    "[check]\r\nGFV=001 2024/01/01 00:00:00\r\nDMV=001 2024/01/01 00:00:00\r\n"
    "GD1=001 2024/01/01 00:00:00\r\nGD2=001 2024/01/01 00:00:00\r\n";

// Newer lines of the four data kinds in turn, up to `bytes` bytes. Whole
// lines have every column, with an address as short as it gets; bare lines
// only the kind and the release code, the shortest line that is newer.
enum LineShape { kWholeLines, kBareLines };

std::string NewerList(std::size_t bytes, LineShape shape) {
    static const char* const kKinds[] = {"GFV", "DMV", "GD1", "GD2"};
    const std::string rest = shape == kWholeLines ? " 002 2024/03/05 12:00:00 u\r\n" : " 002\n";
    std::string list;
    list.reserve(bytes);
    for (std::size_t i = 0;; ++i) {
        const std::string line = kKinds[i % 4] + rest;
        if (list.size() + line.size() > bytes) break;
        list += line;
    }
    return list;
}

void CheckNewerList(benchmark::State& state) {
    BenchApplication();
    TempDir dir;
    ResetData(GuitarEdition());
    AppDir = dir.Dir();
    IniFileName = dir.File("vostrane.ini");
    WriteFileBytes(IniFileName, kSettings);
    FakeService service;
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
    service.SetReply("check.txt",
                     FakeService::Body(NewerList(bytes, static_cast<LineShape>(state.range(1)))));
    {
        PropertyForm form;
        form.findChild<ByteLimitedEdit*>(UiText("edURL"))->SetSjisText(service.BaseUrl() + "check.txt");
        form.show();
        auto* log = form.findChild<QPlainTextEdit*>(UiText("meLog"));
        bool asked = false;
        for (auto _ : state) {
            state.PauseTiming();
            log->clear(); // the last run's log goes outside the measure
            MessageBoxScript boxes;
            state.ResumeTiming();
            form.btnGetClick();
            state.PauseTiming();
            // Either the download question or, over the list's size limit, the error box.
            if (boxes.Shown().size() != 1) state.SkipWithError("the check did not end at one box");
            asked = !form.DownloadList.empty();
            state.ResumeTiming();
        }
        state.counters["queued"] = static_cast<double>(form.DownloadList.size());
        state.counters["asked"] = asked ? 1 : 0;
    }
}

} // namespace

// Arguments: the list's size in MiB, its line shape.
BENCHMARK(CheckNewerList)
    ->Name("BM_UpdateCheckNewerList")
    ->ArgNames({"MiB", "bare"})
    ->Args({1, kWholeLines})
    ->Args({16, kWholeLines})
    ->Args({1, kBareLines})
    ->Args({16, kBareLines})
    ->Unit(benchmark::kMillisecond);
