#include "ui/NumericField.h"

#include "platform/gui/QtText.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Retype(NumericField& field, const char* text) {
    field.lineEdit()->clear();
    QTest::keyClicks(&field, UiText(text));
}

TEST(NumericField, ReadsItsTextClampedAndNonNumbersAsTheMinimum) {
    NumericField field(0, 100, 3);
    struct Case {
        const char* Typed;
        const char* Text;
        int Value;
    };
    const Case cases[] = {
        {"42", "42", 42}, {"150", "150", 100}, {"-5", "-5", 0},      {"", "", 0},
        {"-", "-", 0},    {"1a2", "12", 12},   {"1234", "123", 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed);
        Retype(field, c.Typed);
        EXPECT_EQ(field.lineEdit()->text(), UiText(c.Text));
        EXPECT_EQ(field.Value(), c.Value);
    }
}

TEST(NumericField, ReportsEachTextChangeOnce) {
    NumericField field(0, 9999, 4);
    QSignalSpy changed(&field, &NumericField::Changed);
    QTest::keyClicks(&field, UiText("12"));
    EXPECT_EQ(changed.count(), 2);
    field.SetValue(12); // same text: no change
    EXPECT_EQ(changed.count(), 2);
    field.SetValue(20000); // set by the program: into the range, reported
    EXPECT_EQ(field.lineEdit()->text(), UiText("9999"));
    EXPECT_EQ(changed.count(), 3);
}

TEST(NumericField, CorrectsAnOutOfRangeTextWhenLosingTheFocus) {
    NumericField field(0, 100, 3);
    for (const char* typed : {"150", "-5"}) {
        Retype(field, typed);
        QSignalSpy changed(&field, &NumericField::Changed);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(&field, &out);
        EXPECT_EQ(field.lineEdit()->text(), QString::number(field.Value()));
        EXPECT_EQ(changed.count(), 1);
    }
}

TEST(NumericField, StepsFromItsTextWithTheArrowKeys) {
    NumericField field(0, 100, 3);
    Retype(field, "");
    QTest::keyClick(&field, Qt::Key_Up);
    EXPECT_EQ(field.lineEdit()->text(), UiText("1"));
    Retype(field, "150");
    QTest::keyClick(&field, Qt::Key_Up);
    EXPECT_EQ(field.lineEdit()->text(), UiText("100"));
}

TEST(NumericField, ReadsBackWhatItShowsInALocaleWithOtherDigits) {
    NumericField field(0, 9999, 4);
    field.setLocale(QLocale(QLocale::Arabic, QLocale::Egypt));
    field.SetValue(1234);
    EXPECT_EQ(field.lineEdit()->text(), UiText("1234"));
    EXPECT_EQ(field.Value(), 1234);
}

TEST(WheelStep, SignTimesModifierFactor) {
    struct Case {
        QPoint Delta;
        Qt::KeyboardModifiers Modifiers;
        int Step;
    };
    const Case cases[] = {
        {{0, 120}, Qt::NoModifier, 1},        {{0, -120}, Qt::NoModifier, -1},
        {{0, 480}, Qt::NoModifier, 1}, // one event, one step
        {{120, 0}, Qt::NoModifier, 1}, // sideways when the vertical delta is 0
        {{-120, 0}, Qt::ShiftModifier, -10},  {{0, 0}, Qt::NoModifier, 0},
        {{0, 120}, Qt::ControlModifier, 100}, {{0, -120}, Qt::ShiftModifier | Qt::ControlModifier, -1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Step);
        EXPECT_EQ(WheelStep(c.Delta, c.Modifiers), c.Step);
    }
}

} // namespace
