#include "ui/ResultDataFrame.h"

#include "data/NumberText.h"
#include "data/TextHelpers.h"
#include "platform/gui/DesktopFonts.h"
#include "platform/gui/QtText.h"

#include <QColor>
#include <QLabel>
#include <QPalette>

#include <cmath>
#include <string>

SjisString RightAlignedNumber(int32_t v, int w) {
    return PadLeft(std::to_string(v), w);
}

SjisString PercentTag(int32_t percent) {
    if (percent >= 100) return " [MAX]";
    return " [" + RightAlignedNumber(percent, 2) + "%]";
}

SjisString JudgementText(int32_t count, int32_t percent) {
    return RightAlignedNumber(count, 4) + PercentTag(percent);
}

SjisString RateText(double rate) {
    // Callers pass a 32-bit rate / 100, so the truncated value always fits.
    const double whole = std::isfinite(rate) ? std::trunc(rate) : 0.0;
    return FormatInt3(static_cast<int64_t>(whole)) + "%";
}

SjisString SkillText(double skill) {
    return FormatFixed2(skill);
}

namespace {

// Five judgement rows, MAX COMBO a little apart, the rate between two lines
// and the skill points at the bottom; relative to pnlBack.
constexpr int kBackTop = 14;
constexpr int kRowTop[8] = {4, 18, 32, 46, 60, 80, 106, 132};

struct LevelColours {
    const char* Name;
    QColor Title;
    QColor Panel;
};

const LevelColours kLevels[] = {
    {"BSC", QColor(0, 128, 0), QColor(224, 255, 224)},
    {"ADV", QColor(128, 128, 0), QColor(255, 255, 224)},
    {"EXT", QColor(128, 0, 0), QColor(255, 224, 224)},
};

// Only the active and inactive groups, so that a disabled title still greys.
void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, colour);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    widget->setPalette(palette);
}

void SetBackColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

} // namespace

ResultDataFrame::ResultDataFrame(QWidget* parent) : QFrame(parent) {
    setFixedSize(kFrameWidth, kFrameHeight);

    lbBasTop = new QLabel(QStringLiteral("BSC"), this);
    lbBasTop->setObjectName(QStringLiteral("lbBasTop"));
    lbBasTop->setGeometry(0, 0, kFrameWidth, 13);
    lbBasTop->setAlignment(Qt::AlignCenter);
    QFont titleFont = lbBasTop->font();
    titleFont.setBold(true);
    titleFont.setItalic(true);
    titleFont.setPixelSize(12);
    lbBasTop->setFont(titleFont);

    pnlBack = new QFrame(this);
    pnlBack->setObjectName(QStringLiteral("pnlBack"));
    pnlBack->setGeometry(0, kBackTop, kFrameWidth, kFrameHeight - kBackTop);
    pnlBack->setFrameShape(QFrame::Panel);
    pnlBack->setFrameShadow(QFrame::Sunken);
    pnlBack->setAutoFillBackground(true);
    pnlBack->setFont(FixedPitchFont(12));

    for (int n = 0; n < 8; ++n) {
        auto* label = new QLabel(pnlBack);
        label->setObjectName(QStringLiteral("lbBasN%1").arg(n + 1));
        label->setGeometry(2, kRowTop[n], kFrameWidth - 6, 14);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lbBasN[static_cast<std::size_t>(n)] = label;
    }
    for (int y : {100, 125}) {
        auto* line = new QFrame(pnlBack);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setGeometry(3, y, kFrameWidth - 8, 3);
    }

    SetTextColour(lbBasTop, kLevels[0].Title);
    SetBackColour(pnlBack, kLevels[0].Panel);
}

int ResultDataFrame::ValueRowTop(int n) {
    return kBackTop + kRowTop[n];
}

void ResultDataFrame::SetLabel(int n, const SjisString& text) {
    lbBasN[static_cast<std::size_t>(n)]->setText(SjisToQString(text));
}

void ResultDataFrame::ClearValues() {
    for (QLabel* label : lbBasN)
        label->clear();
}

void ResultDataFrame::SetActive(bool enabled) {
    lbBasTop->setEnabled(enabled);
    for (QLabel* label : lbBasN)
        label->setEnabled(enabled);
}

void ResultDataFrame::ShowResult(int32_t perfect, int32_t great, int32_t good, int32_t poor, int32_t miss,
                                 int32_t combo, int32_t perfectPct, int32_t greatPct, int32_t goodPct,
                                 int32_t poorPct, int32_t missPct, int32_t comboPct, double rate,
                                 double skill) {
    SetLabel(0, JudgementText(perfect, perfectPct));
    SetLabel(1, JudgementText(great, greatPct));
    SetLabel(2, JudgementText(good, goodPct));
    SetLabel(3, JudgementText(poor, poorPct));
    SetLabel(4, JudgementText(miss, missPct));
    SetLabel(5, JudgementText(combo, comboPct));
    SetLabel(6, RateText(rate));
    SetLabel(7, SkillText(skill));
}

void ResultDataFrame::SetLevelName(const SjisString& name) {
    for (const LevelColours& level : kLevels) {
        if (name != level.Name) continue;
        lbBasTop->setText(QString::fromLatin1(level.Name));
        SetTextColour(lbBasTop, level.Title);
        SetBackColour(pnlBack, level.Panel);
        return;
    }
}
