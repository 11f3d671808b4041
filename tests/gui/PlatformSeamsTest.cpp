#include "platform/AppError.h"
#include "platform/Cp932.h"
#include "platform/gui/DesktopFonts.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/LongOperation.h"
#include "platform/gui/MessageBoxes.h"
#include "platform/gui/ModalRun.h"
#include "platform/gui/QtText.h"
#include "tests/TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>
#include <gtest/gtest.h>

TEST(DefaultErrorBox, AppendsAPeriodAfterCharactersSortingAfterIt) {
    EXPECT_EQ(DefaultErrorText("abc"), "abc.");
    EXPECT_EQ(DefaultErrorText("abc."), "abc.");
    EXPECT_EQ(DefaultErrorText("abc!"), "abc!"); // '!' sorts before '.'
    EXPECT_EQ(DefaultErrorText(""), "");
    SjisString japanese = Sj("ファイル x を作成できません");
    EXPECT_EQ(DefaultErrorText(japanese), japanese + ".");
}

TEST(EventGuard, ShowsAnEscapingErrorAndGoesOn) {
    MessageBoxScript boxes;
    bool after = false;
    Guarded([] { throw AppError(Sj("ファイル a.txt を開けません")); });
    after = true;
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Kind, BoxKind::Error);
    EXPECT_EQ(boxes.ShownUtf8()[0], "ファイル a.txt を開けません.");
    EXPECT_TRUE(after);
}

// A script opened inside another must hand the boxes and dialogs back to the
// outer one when it ends, not switch scripting off.
TEST(Scripts, NestedScriptsGiveWayToTheOuterOneWhenTheyEnd) {
    MessageBoxScript outerBoxes;
    ModalScript outerModals([](QDialog&) { return int(QDialog::Accepted); });
    {
        MessageBoxScript innerBoxes;
        ModalScript innerModals([](QDialog&) { return int(QDialog::Rejected); });
        ShowNotice("inner");
        QDialog dialog;
        EXPECT_EQ(RunModal(dialog), QDialog::Rejected);
        EXPECT_EQ(innerBoxes.Shown().size(), 1u);
    }
    ShowNotice("outer");
    QDialog dialog;
    EXPECT_EQ(RunModal(dialog), QDialog::Accepted);
    EXPECT_EQ(outerBoxes.ShownUtf8(), std::vector<std::string>{"outer"});
    EXPECT_EQ(outerModals.Runs(), 1);
}

TEST(LongOperation, RestoresWindowAndCursorWhenTheWorkFails) {
    QWidget window;
    bool disabledDuringWork = false;
    EXPECT_THROW(RunLongOperation(&window,
                                  [&] {
                                      disabledDuringWork =
                                          !window.isEnabled() && QApplication::overrideCursor() != nullptr;
                                      throw AppError("failed");
                                  }),
                 AppError);
    EXPECT_TRUE(disabledDuringWork);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtText, UnencodableCharactersBecomeOneQuestionMarkEach) {
    // A guitar emoji is a surrogate pair in QString: still one character.
    EXPECT_EQ(QStringToSjis(QString::fromUtf8("ギ\xF0\x9F\x8E\xB8éx")), Sj("ギ") + "??x");
    SjisString out;
    EXPECT_FALSE(TryQStringToSjis(QString::fromUtf8("\xF0\x9F\x8E\xB8"), out));
}

TEST(DesktopFonts, TakeTheFirstCandidateTheDesktopHas) {
    const QStringList installed{QStringLiteral("DejaVu Sans"), QStringLiteral("noto sans cjk jp")};
    EXPECT_EQ(FirstInstalledFamily({QStringLiteral("MS PGothic"), QStringLiteral("Noto Sans CJK JP"),
                                    QStringLiteral("DejaVu Sans")},
                                   installed),
              QStringLiteral("Noto Sans CJK JP"));
    EXPECT_TRUE(FirstInstalledFamily({QStringLiteral("MS Gothic")}, installed).isEmpty());
}

TEST(QtText, SevenBitTextsConvertLikeTheConverterDoes) {
    SjisString ascii;
    for (int c = 1; c < 0x80; ++c)
        ascii += static_cast<char>(c);
    EXPECT_EQ(SjisToQString(ascii), QString::fromStdString(SjisToUtf8(ascii)));
    EXPECT_EQ(QStringToSjis(SjisToQString(ascii)), ascii);
    // One byte above 0x7F sends the whole text through the converter.
    EXPECT_EQ(SjisToQString(ascii + Sj("曲")).toStdString(), SjisToUtf8(ascii + Sj("曲")));
}
