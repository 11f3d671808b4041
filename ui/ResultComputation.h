#pragma once

#include "platform/SjisString.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The result dialog's decisions, free of widgets: what each change of a
// number computes, the change display with its rule for OK, and what OK
// stores. The judgements are always in the order PERFECT, GREAT, GOOD, POOR,
// MISS, MAX COMBO.

using Judgements = std::array<int32_t, 6>;

// Ranges of the dialog's numeric fields; a value set into a field is brought
// into them, so the results below are given as the fields will hold them.
constexpr int32_t kCountFieldMax = 9999;  // counts and the total notes
constexpr int32_t kPercentFieldMax = 100; // percentages and the rate

// Percentages derived from counts.
struct CountShares {
    int32_t Total = 0;     // the five judgement counts summed (MAX COMBO is not a note)
    Judgements Percents{}; // each truncated, then the remainder spread (below)
};

// Each percentage is the count's share of the total, truncated; GREAT is
// taken from the running sum with PERFECT so that the two together are their
// joint share. What is missing to 100 (MAX COMBO aside) goes one point at a
// time to GOOD, POOR and MISS: first to those shown as 0 although counted,
// then to any counted one, larger counts first. PERFECT, GREAT and MAX COMBO
// are never raised.
CountShares SharesFromCounts(const Judgements& counts);

// What one change handler leaves, in the order the dialog applies it. A field
// without a value is left as it is.
struct LiveResult {
    std::optional<int32_t> Total;       // counts entered: the hidden total notes
    std::optional<Judgements> Percents; // counts entered: the six percentages
    std::optional<int32_t> PendingRate; // the rate x 100 that OK will store
    std::optional<int32_t> RateField;   // the rate field (whole percent)
    std::optional<int32_t> Skill;       // points x 100; with it the input mode switches
    bool Failed = false;                // a formula failed (Waru 0); reported to no one
};

// Percentages typed. Nothing while the level text is blank. The rate is
// halved while the half-rate toggle is down. On failure the dialog sets the
// rate field to 0.
LiveResult ComputeFromPercents(const Judgements& percents, const SjisString& levelText, bool halfRate);

// Counts typed. The rate comes from the counts themselves (the rate formula,
// not SkillFromCounts: the preview keeps the rate's hundredths), halved while
// the toggle is down. With a blank level text the percentages and rate are
// still computed but no skill. On failure the dialog sets the rate field to 0.
LiveResult ComputeFromCounts(const Judgements& counts, const SjisString& levelText, bool halfRate);

// The rate typed in whole percent. With the toggle down it is capped at 50
// (not halved). On failure the dialog shows "0" as the skill.
LiveResult ComputeFromRate(int32_t typedRate, const SjisString& levelText, bool halfRate);

// The change display against the stored points and whether OK is enabled:
// only a rise enables OK while "only if raised" is ticked.
enum class DeltaLook { Plain, Down, Up }; // window-text colour / red / blue bold
struct DeltaView {
    std::string Text;
    DeltaLook Look = DeltaLook::Plain;
    bool OkEnabled = true;
};
DeltaView SkillDeltaView(double skill, double storedSkill, bool onlyIfRaised);

// The InputMode OK stores: the shown input marker (1 rate, 2 percentages,
// 3 counts; 1 when none), but always 1 with the half-rate toggle down, so the
// recalculation keeps the halved rate.
int32_t StoredInputMode(int32_t marker, bool halfRate);

// The comment as stored: one blank appended when it is 100 bytes or longer,
// then CR becomes a blank, LF is dropped and TAB becomes four blanks.
SjisString CommentForStorage(const SjisString& typed);
