#include "ui/ResultComputation.h"

#include "data/DataUnit.h"
#include "data/NumberText.h"
#include "data/SkillCmp.h"
#include "data/TextHelpers.h"
#include "platform/AppError.h"
#include "platform/IntConv.h"

#include <algorithm>
#include <utility>

namespace {

int32_t ClampPercent(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, kPercentFieldMax));
}

// A share of the total in whole percent: the ratio times 100, formed in
// extended precision and truncated, so 29 of 100 gives 28.
int32_t TruncPercent(int32_t part, int32_t total) {
    return TruncScaled(SafeRatio(part, total), 100);
}

// The order in which the first `count` of `candidates` receive remainder
// points: the pairs (1st, 2nd), (1st, 3rd), (2nd, 3rd) are compared and
// exchanged when the first count is smaller. Not a stable sort: counts 1, 1, 2
// give MISS, POOR, GOOD.
std::array<int, 3> RemainderOrder(const Judgements& counts, const std::array<int, 3>& candidates, int count) {
    std::array<int, 3> order = candidates;
    static constexpr std::pair<int, int> kPairs[] = {{0, 1}, {0, 2}, {1, 2}};
    for (auto [a, b] : kPairs)
        if (b < count && counts[order[a]] < counts[order[b]]) std::swap(order[a], order[b]);
    return order;
}

// Raises each listed judgement by one point while points remain.
void RaiseInOrder(Judgements& percents, const Judgements& counts, int32_t& rest, bool onlyZeroShares) {
    std::array<int, 3> candidates{};
    int n = 0;
    for (int j = 2; j <= 4; ++j)
        if (counts[j] > 0 && (!onlyZeroShares || percents[j] == 0)) candidates[n++] = j;
    const std::array<int, 3> order = RemainderOrder(counts, candidates, n);
    for (int i = 0; i < n && rest > 0; ++i) {
        ++percents[order[i]];
        --rest;
    }
}

} // namespace

CountShares SharesFromCounts(const Judgements& counts) {
    CountShares shares;
    int64_t notes = 0;
    for (int j = 0; j < 5; ++j)
        notes += counts[j];
    shares.Total = static_cast<int32_t>(std::clamp<int64_t>(notes, 0, kCountFieldMax));
    const int32_t total = shares.Total;

    Judgements& p = shares.Percents;
    p[0] = ClampPercent(TruncPercent(counts[0], total));
    p[1] = ClampPercent(int64_t{TruncPercent(counts[0] + counts[1], total)} - p[0]);
    for (int j = 2; j < 6; ++j)
        p[j] = ClampPercent(TruncPercent(counts[j], total));

    int32_t rest = 100 - p[0] - p[1] - p[2] - p[3] - p[4];
    if (rest > 0) RaiseInOrder(p, counts, rest, true);
    if (rest > 0) RaiseInOrder(p, counts, rest, false);
    return shares;
}

LiveResult ComputeFromPercents(const Judgements& percents, const SjisString& levelText, bool halfRate) {
    LiveResult out;
    const SjisString level = TrimText(levelText);
    if (level.empty()) return out;
    try {
        double rate = CalcRateFromPercents(percents[0], percents[1], percents[2], percents[3], percents[4],
                                           percents[5]);
        if (halfRate) rate /= 2;
        out.PendingRate = TruncScaled(rate, 100);
        out.RateField = ClampPercent(TruncToInt64(static_cast<long double>(rate)));
        out.Skill = TruncToInt32(static_cast<long double>(CalcSkillFromRate(StrToInt(level), rate)));
    } catch (const AppError&) {
        out.Failed = true;
    }
    return out;
}

LiveResult ComputeFromCounts(const Judgements& counts, const SjisString& levelText, bool halfRate) {
    LiveResult out;
    const CountShares shares = SharesFromCounts(counts);
    out.Total = shares.Total;
    out.Percents = shares.Percents;
    try {
        const double fraction = CalcRateFromCounts(counts[0], counts[1], counts[2], counts[3], counts[4],
                                                   counts[5], shares.Total);
        double rate = fraction * 100.0; // rounded to double, unlike the truncations below
        if (halfRate) rate /= 2;
        out.PendingRate = TruncScaled(rate, 100);
        out.RateField = ClampPercent(TruncToInt64(static_cast<long double>(rate)));
        const SjisString level = TrimText(levelText);
        if (level.empty()) return out;
        out.Skill = level == "0"
                        ? 0
                        : TruncToInt32(static_cast<long double>(CalcSkillFromRate(StrToInt(level), rate)));
    } catch (const AppError&) {
        out.Failed = true;
    }
    return out;
}

LiveResult ComputeFromRate(int32_t typedRate, const SjisString& levelText, bool halfRate) {
    LiveResult out;
    const SjisString level = TrimText(levelText);
    if (level.empty()) return out;
    int32_t rate = typedRate;
    if (halfRate && rate > 50) {
        rate = 50;
        out.RateField = rate;
    }
    out.PendingRate = rate * 100;
    try {
        out.Skill = level == "0"
                        ? 0
                        : TruncToInt32(static_cast<long double>(CalcSkillFromRate(StrToInt(level), rate)));
    } catch (const AppError&) {
        out.Failed = true;
    }
    return out;
}

DeltaView SkillDeltaView(double skill, double storedSkill, bool onlyIfRaised) {
    const double delta = skill - storedSkill;
    if (delta > 0) {
        SjisString text(1, '+'); // not "+" + text, which g++ 12 at -O3 takes for an overlapping copy
        text += FormatFixed2(delta);
        return {text, DeltaLook::Up, true};
    }
    if (delta < 0) return {FormatFixed2(delta), DeltaLook::Down, !onlyIfRaised};
    return {"---", DeltaLook::Plain, !onlyIfRaised};
}

int32_t StoredInputMode(int32_t marker, bool halfRate) {
    if (halfRate) return InputRate;
    if (marker == InputRate || marker == InputPercents || marker == InputCounts) return marker;
    return InputRate;
}

SjisString CommentForStorage(const SjisString& typed) {
    SjisString text = typed;
    if (text.size() >= 100) text += ' ';
    SjisString out;
    out.reserve(text.size());
    // CR, LF and TAB never occur as the second byte of a double-byte character.
    for (char c : text) {
        if (c == '\r') {
            out += ' ';
        } else if (c == '\t') {
            out += "    ";
        } else if (c != '\n') {
            out += c;
        }
    }
    return out;
}
