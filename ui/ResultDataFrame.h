#pragma once

#include "platform/SjisString.h"

#include <QFrame>

#include <array>
#include <cstdint>

class QLabel;

// Texts of the frame's value labels.
// The decimal text of v right-aligned in w characters; a longer number loses its leading digits.
SjisString RightAlignedNumber(int32_t v, int w);
// " [95%]", or " [MAX]" from 100 up.
SjisString PercentTag(int32_t percent);
// One judgement row: the count in four characters and the percentage tag.
SjisString JudgementText(int32_t count, int32_t percent);
// The rate cut to a whole number, "%3d", then "%".
SjisString RateText(double rate);
// The skill points, "%3.2f".
SjisString SkillText(double skill);

// The stored result of one chart: six judgement rows, the rate and the skill
// points, under a title naming the difficulty. The main window holds three.
class ResultDataFrame : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kFrameWidth = 81;
    static constexpr int kFrameHeight = 175;

    explicit ResultDataFrame(QWidget* parent = nullptr);

    // Top of value row n (0..7) within the frame, for the row titles drawn beside it.
    static int ValueRowTop(int n);

    // Empties the eight value labels; the enabled state stays.
    void ClearValues();
    // Enables or greys the title and the value labels; the texts stay.
    void SetActive(bool enabled);
    void ShowResult(int32_t perfect, int32_t great, int32_t good, int32_t poor, int32_t miss, int32_t combo,
                    int32_t perfectPct, int32_t greatPct, int32_t goodPct, int32_t poorPct, int32_t missPct,
                    int32_t comboPct, double rate, double skill);
    // "BSC", "ADV" or "EXT" (exactly): title and colours of that difficulty;
    // any other text changes nothing.
    void SetLevelName(const SjisString& name);

    QLabel* lbBasTop = nullptr;
    QFrame* pnlBack = nullptr;
    std::array<QLabel*, 8> lbBasN{}; // lbBasN1 ... lbBasN8

  private:
    void SetLabel(int n, const SjisString& text);
};
