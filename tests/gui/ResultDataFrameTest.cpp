#include "ui/ResultDataFrame.h"
#include "platform/gui/QtText.h"
#include "tests/TestSupport.h"

#include <QLabel>
#include <gtest/gtest.h>

TEST(ResultDataTexts, RowFormats) {
    struct Case {
        SjisString text;
        const char* expected;
    };
    const Case cases[] = {
        {JudgementText(812, 95), " 812 [95%]"},
        {JudgementText(1024, 100), "1024 [MAX]"},
        {JudgementText(3, 0), "   3 [ 0%]"},
        {JudgementText(0, 0), "   0 [ 0%]"},
        {JudgementText(12345, 5), "2345 [ 5%]"}, // a longer count loses its leading digits
        {JudgementText(-7, -5), "  -7 [-5%]"},
        {PercentTag(101), " [MAX]"},
        {PercentTag(-50), " [50%]"},
        {RightAlignedNumber(42, 0), ""},
        {RateText(95.12), " 95%"},
        {RateText(100.0), "100%"},
        {RateText(0.0), "  0%"},
        {RateText(99.99), " 99%"},
        {SkillText(25.11), "25.11"},
        {SkillText(0.0), "0.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, c.expected);
}

namespace {

QStringList Labels(const ResultDataFrame& frame) {
    QStringList texts;
    for (int n = 1; n <= 8; ++n)
        texts << frame.findChild<QLabel*>(QStringLiteral("lbBasN%1").arg(n))->text();
    return texts;
}

QList<bool> Enabled(const ResultDataFrame& frame) {
    QList<bool> states{frame.lbBasTop->isEnabled()};
    for (const QLabel* label : frame.lbBasN)
        states << label->isEnabled();
    return states;
}

QColor TitleColour(const ResultDataFrame& frame) {
    return frame.lbBasTop->palette().color(QPalette::Active, QPalette::WindowText);
}

QColor PanelColour(const ResultDataFrame& frame) {
    return frame.pnlBack->palette().color(QPalette::Window);
}

} // namespace

TEST(ResultDataFrame, ShowClearAndActivateAreIndependent) {
    ResultDataFrame frame;
    EXPECT_EQ(frame.size(), QSize(81, 175));
    frame.ShowResult(812, 30, 5, 2, 1, 700, 95, 3, 1, 0, 0, 86, 95.12, 25.11);
    const QStringList shown = UiTexts({" 812 [95%]", "  30 [ 3%]", "   5 [ 1%]", "   2 [ 0%]", "   1 [ 0%]",
                                       " 700 [86%]", " 95%", "25.11"});
    EXPECT_EQ(Labels(frame), shown);

    frame.SetActive(false);
    EXPECT_EQ(Enabled(frame), QList<bool>(9, false));
    EXPECT_EQ(Labels(frame), shown); // SetActive keeps the texts

    frame.ClearValues();
    EXPECT_EQ(Labels(frame), QStringList(8, QString()));
    EXPECT_EQ(Enabled(frame), QList<bool>(9, false)); // ClearValues keeps the state
    EXPECT_EQ(frame.lbBasTop->text(), UiText("BSC")); // the title is not a value

    frame.SetActive(true);
    EXPECT_EQ(Enabled(frame), QList<bool>(9, true));
}

TEST(ResultDataFrame, LevelNamesSetTitleAndColours) {
    ResultDataFrame frame;
    EXPECT_EQ(frame.lbBasTop->text(), UiText("BSC"));
    EXPECT_EQ(TitleColour(frame), QColor(0, 128, 0));
    EXPECT_EQ(PanelColour(frame), QColor(224, 255, 224));

    struct Case {
        const char* name;
        QColor title;
        QColor panel;
    };
    for (const Case& c : {Case{"ADV", QColor(128, 128, 0), QColor(255, 255, 224)},
                          Case{"EXT", QColor(128, 0, 0), QColor(255, 224, 224)},
                          Case{"BSC", QColor(0, 128, 0), QColor(224, 255, 224)}}) {
        frame.SetLevelName(c.name);
        EXPECT_EQ(frame.lbBasTop->text(), UiText(c.name));
        EXPECT_EQ(TitleColour(frame), c.title) << c.name;
        EXPECT_EQ(PanelColour(frame), c.panel) << c.name;
    }

    frame.SetLevelName("EXT");
    for (const char* other : {"ext", "Adv", "", "MAS", "BSC "}) {
        frame.SetLevelName(other);
        EXPECT_EQ(frame.lbBasTop->text(), UiText("EXT")) << other;
        EXPECT_EQ(TitleColour(frame), QColor(128, 0, 0)) << other;
        EXPECT_EQ(PanelColour(frame), QColor(255, 224, 224)) << other;
    }
}
