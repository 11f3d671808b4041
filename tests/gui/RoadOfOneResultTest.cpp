// One result from the player's keys to the web service and the player's files,
// through the guitar edition's real windows.

#include "data/Edition.h"
#include "data/NumberText.h"
#include "platform/Clock.h"
#include "platform/gui/ByteLimitedEdit.h"
#include "platform/gui/ModalRun.h"
#include "platform/gui/QtText.h"
#include "tests/gui/MainFormTestSupport.h"
#include "tests/net/NetTestSupport.h"
#include "ui/MainForm.h"
#include "ui/NumericField.h"
#include "ui/ProgramMain.h"
#include "ui/SongListRules.h"
#include "ui/SongListTexts.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

std::string Repeat(const std::string& text, int count) {
    std::string all;
    for (int i = 0; i < count; ++i)
        all += text;
    return all;
}

} // namespace

TEST(RoadOfOneResult, TypedResultIsSentOnceAndSavedAtExit) {
    ProgramFolder folder(GuitarEdition());
    ScopedCurrentDir cwd(folder.dir.Path()); // the network log goes to the current folder
    FakeService service;
    service.SetReply("cl_send.asp", FakeService::Body("VOSTRANE.NET:0"));
    service.SetReply("edit_recomp.asp", FakeService::Body(""));
    WriteLines(folder.GameFile(".txt"), {SongLine("Alpha", "5", {40, 50, 60}), SongLine("Beta", "6", {30})});
    WriteFileBytes(folder.Ini(), "[link]\r\naccount=user1\r\npassword=pass1\r\naccess=0123abcd\r\nserver=" +
                                     service.BaseUrl() + "\r\n");
    SetFixedNow(LocalTime{2024, 3, 7, 9, 5, 0});

    WindowSet windows;
    windows.Create(CreationOrder(GuitarEdition()));
    ASSERT_TRUE(folder.boxes.Shown().empty());
    MainForm& main = *Windows().Main;
    main.resize(1600, 700);
    main.show();
    // Beta holds an earlier, already sent result: only Alpha's new one is to go.
    MusicTable[1].SkillList.Chart[0].Rate = 8000;
    MusicTable[1].SkillList.Chart[0].InputMode = InputRate;
    main.btnCompClick();
    const int32_t totalBefore = TotalSkill;

    // 1-3: a double click on Alpha's row opens its entry; the percentages and a
    // comment are typed and OK stores them.
    QTreeWidget* list = main.LVmain;
    {
        ModalScript script([](QDialog& dialog) {
            for (int i = 1; i <= 6; ++i) {
                NumericField* field = dialog.findChild<NumericField*>(UiText("edR%1").arg(i));
                field->selectAll();
                QTest::keyClicks(field, UiTexts({"90", "5", "3", "1", "1", "95"})[i - 1]);
            }
            QInputMethodEvent commit; // Japanese arrives through the input method
            commit.setCommitString(UiText("あと少し"));
            QCoreApplication::sendEvent(dialog.findChild<ByteLimitedEdit*>(UiText("edComment")), &commit);
            dialog.setResult(QDialog::Rejected);
            QTest::mouseClick(dialog.findChild<QPushButton*>(UiText("btnOk")), Qt::LeftButton);
            return dialog.result();
        });
        const QPoint at = list->visualItemRect(list->topLevelItem(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        ASSERT_EQ(script.Runs(), 1);
    }
    const TMusicList& alpha = MusicTable[0];
    EXPECT_EQ(alpha.SkillList.Chart[0].InputMode, InputPercents);
    EXPECT_EQ(alpha.SkillList.Chart[0].Rate, 9200); // (90 x 80 + 5 x 20 + 95 x 20) / 100
    EXPECT_TRUE(alpha.Changed);
    EXPECT_GT(TotalSkill, totalBefore);
    EXPECT_EQ(main.stSkillPointTag, TotalSkill);
    EXPECT_EQ(main.stSkillPoint->text(), SjisToQString(HundredthsText(TotalSkill)));
    const int skill = MainSkillColumn(ChartCount());
    const QTreeWidgetItem* row = list->topLevelItem(0);
    EXPECT_EQ(row->text(skill), SjisToQString(SkillColumnText(alpha.SkillList.BestSkill)));
    EXPECT_EQ(row->text(skill + 2), UiText("あと少し"));
    EXPECT_EQ(row->text(skill + 3), UiText("03/07 09:05"));

    // 4-5: the main window's send button opens the dialog; send "更新したデータのみ".
    {
        ModalScript script([](QDialog& dialog) {
            auto* mode = dialog.findChild<QComboBox*>(UiText("cmbMode"));
            mode->setCurrentIndex(mode->findText(UiText("更新したデータのみ")));
            QTest::mouseClick(dialog.findChild<QPushButton*>(UiText("btnSend")), Qt::LeftButton);
            return static_cast<int>(QDialog::Rejected);
        });
        QTest::mouseClick(main.btnSend, Qt::LeftButton);
        ASSERT_EQ(script.Runs(), 1);
    }
    EXPECT_EQ(folder.boxes.ShownUtf8(), std::vector<std::string>{"送信しました。"});
    const std::vector<FakeService::Request> requests = service.Requests();
    ASSERT_EQ(requests.size(), 2u);
    // Alpha, chart 0, percentages entered: the six percentages zero-padded,
    // then the comment's Shift-JIS bytes percent-encoded.
    EXPECT_EQ(requests[0].target, "/svc/cl_send.asp?id=user1&access=0123abcd&game=GFV3&cnt=1"
                                  "&spdata=000502009000050003000100010095&comment=%82%A0%82%C6%8F%AD%82%B5");
    EXPECT_EQ(requests[1].target, "/svc/edit_recomp.asp?userid=user1&acid=import&edit=GFV3");
    EXPECT_FALSE(alpha.Changed);
    EXPECT_NE(ReadFileBytes(folder.File("network_log.txt")).find("VOSTRANE.NET:0"), std::string::npos);
    // The refresh after the dialog rebuilt the list from the table.
    EXPECT_EQ(list->topLevelItem(0)->text(skill + 2), UiText("あと少し"));

    // 6: the exit runs the destruction handlers; the player's files hold the result.
    QTest::mouseClick(main.btnExit, Qt::LeftButton);
    windows.Destroy();
    SetFixedNow(std::nullopt);
    EXPECT_EQ(folder.boxes.ShownUtf8().size(), 1u); // saving raised no error
    EXPECT_EQ(ReadFileBytes(folder.GameFile(".comment")),
              "Alpha\t" + Sj("あと少し") + "\t03/07 09:05\t0\r\nBeta\t\t\t0\r\n");
    // Two rows of nine charts of eight values; a chart's first row ends with the
    // rate and 0, its second with the total notes and the input mode (1 for
    // charts never entered: the recalculation's legacy conversion).
    const std::string zero = "0\t", noResult = Repeat(zero, 7) + "1\t";
    EXPECT_EQ(ReadFileBytes(folder.GameFile(".skill")),
              "Alpha\t90\t5\t3\t1\t1\t95\t9200\t0\t" + Repeat(zero, 64) + Repeat(zero, 7) + "2\t" +
                  Repeat(noResult, 8) + "$\r\nBeta\t" + Repeat(zero, 6) + "8000\t" + Repeat(zero, 65) +
                  Repeat(noResult, 9) + "$\r\n");
    ReleaseProgramData();
}
