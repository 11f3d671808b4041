#include "platform/gui/ByteLimitedEdit.h"
#include "platform/gui/QtText.h"
#include "tests/TestSupport.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Text that arrives in one piece, as from an input method or a paste.
void Commit(QWidget* widget, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

TEST(FitEditToByteLimit, KeepsWhatFitsOfAnInsertion) {
    const std::string x150(150, 'x'), x149(149, 'x'), x150y = x150 + "y";
    struct Case {
        const char* Name;
        const char* Before;
        const char* After;
        int Limit;
        const char* Text;
        int Cursor;
    };
    const Case cases[] = {
        {"cut to the limit", "", "abc", 2, "ab", 2},
        {"double-byte counts two", "ab", "abあ", 3, "ab", 2},
        {"double-byte fits", "ab", "abあ", 4, "abあ", 3},
        {"unencodable dropped", "ab", "a한b", 10, "ab", 1},
        {"outside the BMP dropped", "", "😀a", 10, "a", 1},
        {"insert in the middle", "abcd", "abあいcd", 6, "abあcd", 3},
        {"longer stored text may shrink", x150.c_str(), x149.c_str(), 100, x149.c_str(), 149},
        {"longer stored text may not grow", x150.c_str(), x150y.c_str(), 100, x150.c_str(), 150},
        {"replacing a selection", "hello", "hXYZ", 3, "hXY", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const FittedEdit fitted = FitEditToByteLimit(UiText(c.Before), UiText(c.After), c.Limit);
        EXPECT_EQ(fitted.Text, UiText(c.Text));
        EXPECT_EQ(fitted.Cursor, c.Cursor);
    }
}

TEST(ByteLimitedEdit, TypingStopsAtTheByteLimit) {
    ByteLimitedEdit edit(100);
    QTest::keyClicks(&edit, QString(120, u'x'));
    EXPECT_EQ(edit.SjisText(), std::string(100, 'x'));

    ByteLimitedEdit wide(100);
    for (int i = 0; i < 60; ++i)
        Commit(&wide, QString::fromUtf8("あ"));
    EXPECT_EQ(wide.text().size(), 50);
    EXPECT_EQ(wide.SjisText().size(), 100u);
}

TEST(ByteLimitedEdit, RefusesCharactersWithoutAShiftJisCode) {
    ByteLimitedEdit edit(100);
    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("한"));
    QApplication::sendEvent(&edit, &key);
    EXPECT_EQ(edit.text(), UiText(""));
    Commit(&edit, QString::fromUtf8("c한d"));
    EXPECT_EQ(edit.text(), UiText("cd"));
    EXPECT_EQ(edit.cursorPosition(), 2);
}

TEST(ByteLimitedEdit, ShowsALongerStoredTextWholeAndLetsItShrink) {
    ByteLimitedEdit edit(100);
    edit.SetSjisText(std::string(150, 'x'));
    EXPECT_EQ(edit.text().size(), 150);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.SjisText(), std::string(149, 'x'));
}

TEST(ByteLimitedEdit, GivesStoredBytesBackUntilEdited) {
    ByteLimitedEdit edit(100);
    const SjisString stored = "\x80" + Sj("曲") + "a"; // 0x80 decodes to nothing
    edit.SetSjisText(stored);
    EXPECT_EQ(edit.SjisText(), stored);
    edit.end(false);
    QTest::keyClicks(&edit, UiText("b"));
    EXPECT_EQ(edit.SjisText(), "?" + Sj("曲") + "ab");
}

} // namespace
