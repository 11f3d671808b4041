#include "ui/NumericField.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

void Retype(NumericField& field, const QString& text) {
    field.lineEdit()->clear();
    QTest::keyClicks(&field, text);
}

void SendWheel(QWidget* target, QPoint angleDelta, Qt::KeyboardModifiers modifiers) {
    QWheelEvent wheel(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), angleDelta, Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
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
        EXPECT_EQ(field.lineEdit()->text(), c.Text);
        EXPECT_EQ(field.Value(), c.Value);
    }
}

TEST(NumericField, ReportsEachTextChangeOnce) {
    NumericField field(0, 9999, 4);
    QSignalSpy changed(&field, &NumericField::Changed);
    QTest::keyClicks(&field, "12");
    EXPECT_EQ(changed.count(), 2);
    field.SetValue(12); // same text: no change
    EXPECT_EQ(changed.count(), 2);
    field.SetValue(20000); // set by the program: into the range, reported
    EXPECT_EQ(field.lineEdit()->text(), "9999");
    EXPECT_EQ(changed.count(), 3);
    field.SetValue(-3);
    EXPECT_EQ(field.lineEdit()->text(), "0");
    EXPECT_EQ(changed.count(), 4);
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
    EXPECT_EQ(field.lineEdit()->text(), "1");
    Retype(field, "150");
    QTest::keyClick(&field, Qt::Key_Up);
    EXPECT_EQ(field.lineEdit()->text(), "100");
    Retype(field, "0");
    QTest::keyClick(&field, Qt::Key_Down);
    EXPECT_EQ(field.lineEdit()->text(), "0");
}

TEST(NumericField, ReportsClicks) {
    NumericField field(0, 100, 3);
    QSignalSpy clicked(&field, &NumericField::Clicked);
    QTest::mouseClick(field.lineEdit(), Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(WheelStep, SignTimesModifierFactor) {
    struct Case {
        QPoint Delta;
        Qt::KeyboardModifiers Modifiers;
        int Step;
    };
    const Case cases[] = {
        {{0, 120}, Qt::NoModifier, 1},
        {{0, -120}, Qt::NoModifier, -1},
        {{0, 480}, Qt::NoModifier, 1}, // one event, one step
        {{0, 15}, Qt::NoModifier, 1},
        {{120, 0}, Qt::NoModifier, 1}, // sideways when the vertical delta is 0
        {{-120, 0}, Qt::ShiftModifier, -10},
        {{0, 0}, Qt::NoModifier, 0},
        {{0, 120}, Qt::ShiftModifier, 10},
        {{0, 120}, Qt::ControlModifier, 100},
        {{0, -120}, Qt::ShiftModifier | Qt::ControlModifier, -1000},
        {{0, 120}, Qt::AltModifier, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Step);
        EXPECT_EQ(WheelStep(c.Delta, c.Modifiers), c.Step);
    }
}

class NumericWheelFilterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        field = new NumericField(0, 100, 3, &window);
        combo = new QComboBox(&window);
        combo->addItems({"a", "b", "c"});
        combo->move(0, 40);
        other = new QLineEdit(&window);
        other->move(0, 80);
        new NumericWheelFilter(&window);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QWidget window;
    NumericField* field;
    QComboBox* combo;
    QLineEdit* other;
};

TEST_F(NumericWheelFilterTest, StepsTheFocusedFieldWhereverTheMouseIs) {
    field->setFocus();
    field->SetValue(37);
    combo->setCurrentIndex(1);
    QSignalSpy activated(combo, &QComboBox::activated);
    SendWheel(combo, {0, 120}, Qt::ControlModifier);
    EXPECT_EQ(field->Value(), 100); // clamped
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(activated.count(), 0);
    SendWheel(other, {0, -120}, Qt::ShiftModifier);
    EXPECT_EQ(field->Value(), 90);
    SendWheel(field, {0, -120}, Qt::NoModifier);
    EXPECT_EQ(field->Value(), 89);
}

TEST_F(NumericWheelFilterTest, LeavesTheWheelAloneWithoutAFocusedField) {
    other->setFocus();
    field->SetValue(37);
    SendWheel(field, {0, 120}, Qt::NoModifier);
    EXPECT_EQ(field->Value(), 37);
}

} // namespace
