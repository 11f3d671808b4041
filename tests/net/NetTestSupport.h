#pragma once

#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/Unitini.h"
#include "net/SendForm.h"
#include "platform/Clock.h"
#include "platform/gui/MessageBoxes.h"
#include "tests/TestSupport.h"
#include "tests/net/FakeService.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace nettest {

// A fresh table, settings file, current directory, fixed clock, recorded
// message boxes and a fake service whose address is the server address.
class NetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetData(GuitarEdition());
        IniFileName = dir.File("vostrane.ini");
        ServerAddress.clear();
        SetFixedNow(LocalTime{2024, 3, 5, 14, 7, 9});
    }
    void TearDown() override {
        SetFixedNow(std::nullopt);
        ServerAddress.clear();
    }

    // The [link] section as the send dialog reads it at creation.
    void WriteLink(const std::string& account, const std::string& password, const std::string& access,
                   const std::string& server) {
        WriteFileBytes(dir.File("vostrane.ini"), "[link]\r\naccount=" + account + "\r\npassword=" + password +
                                                     "\r\naccess=" + access + "\r\nserver=" + server +
                                                     "\r\n");
    }

    // Appends a song to the table and returns its index.
    int AddSong(int32_t code, const std::string& name) {
        int index = MusicCount++;
        TMusicList& music = MusicTable[static_cast<std::size_t>(index)];
        music.Code = code;
        music.Name = name;
        music.Index = index;
        music.SkillList.Index = index;
        music.SkillList.BestChart = -1;
        MusicNames.push_back(name);
        return index;
    }

    // Gives a song a best chart with a rate entered.
    void GiveRate(int index, int chart, int32_t rate, int32_t skill) {
        TMusicList& music = MusicTable[static_cast<std::size_t>(index)];
        music.SkillList.Chart[static_cast<std::size_t>(chart)].InputMode = InputRate;
        music.SkillList.Chart[static_cast<std::size_t>(chart)].Rate = rate;
        music.SkillList.BestChart = chart;
        music.SkillList.BestSkill = skill;
    }

    TempDir dir;
    ScopedCurrentDir cwd{dir.Path()};
    FakeService service;
    MessageBoxScript boxes;
};

} // namespace nettest
