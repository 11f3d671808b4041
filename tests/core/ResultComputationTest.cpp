#include "ui/ResultComputation.h"
#include "data/DataUnit.h"
#include "data/SkillCmp.h"
#include "editions/Editions.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ResultComputationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetData(GuitarEdition());
        computer.Perfect = 80;
        computer.Combo = 20;
        computer.Great = 20;
        computer.Waru = 100;
        SkillComputer = &computer;
    }
    void TearDown() override { SkillComputer = nullptr; }

    TSkillComputer computer;
};

struct SharesCase {
    const char* Name;
    Judgements Counts;
    int32_t Total;
    Judgements Percents;
};

TEST_F(ResultComputationTest, SharesFromCounts) {
    const SharesCase cases[] = {
        {"spread to the zero share", {500, 30, 3, 0, 2, 535}, 535, {93, 6, 1, 0, 0, 100}},
        {"nothing counted", {0, 0, 0, 0, 0, 0}, 0, {0, 0, 0, 0, 0, 0}},
        // The exchange steps put POOR before GOOD here; a stable sort would not.
        {"exchange order", {200, 0, 1, 1, 2, 0}, 204, {98, 0, 0, 1, 1, 0}},
        // 29 / 100 as a double lies below 0.29.
        {"extended truncation", {29, 71, 0, 0, 0, 100}, 100, {28, 72, 0, 0, 0, 100}},
        {"second pass only", {2, 0, 1, 0, 0, 3}, 3, {66, 0, 34, 0, 0, 100}},
        {"first then second pass", {682, 0, 5, 0, 13, 0}, 700, {97, 0, 1, 0, 2, 0}},
        {"combo share held to 100", {10, 0, 0, 0, 0, 20}, 10, {100, 0, 0, 0, 0, 100}},
        // The total is what the hidden total field holds.
        {"total held to 9999", {9000, 2000, 0, 0, 0, 0}, 9999, {90, 20, 0, 0, 0, 0}},
    };
    for (const SharesCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const CountShares shares = SharesFromCounts(c.Counts);
        EXPECT_EQ(shares.Total, c.Total);
        EXPECT_EQ(shares.Percents, c.Percents);
    }
}

TEST_F(ResultComputationTest, RemainderOrderFollowsTheExchangeSteps) {
    const Judgements counts{0, 0, 1, 1, 2, 0};
    EXPECT_EQ(RemainderOrder(counts, {2, 3, 4}, 3), (std::array<int, 3>{4, 3, 2}));
    EXPECT_EQ(RemainderOrder(counts, {2, 4, 0}, 2)[0], 4);
    EXPECT_EQ(RemainderOrder(Judgements{0, 0, 3, 3, 3, 0}, {2, 3, 4}, 3), (std::array<int, 3>{2, 3, 4}));
}

struct LiveCase {
    const char* Name;
    Judgements Values;
    const char* Level;
    bool Half;
    int32_t PendingRate;
    int32_t RateField;
    int32_t Skill;
};

TEST_F(ResultComputationTest, ComputeFromPercents) {
    const LiveCase cases[] = {
        {"full", {100, 0, 0, 0, 0, 100}, "45", false, 10000, 100, 1485},
        {"above 100 without full marks", {100, 10, 0, 0, 0, 99}, "45", false, 9900, 99, 1470},
        {"90.6 stores one hundredth less", {88, 1, 0, 0, 0, 100}, "45", false, 9059, 90, 1345},
        {"halved", {94, 4, 0, 0, 0, 100}, "45", true, 4800, 48, 712},
        {"level 0", {100, 0, 0, 0, 0, 100}, "0", false, 10000, 100, 0},
    };
    for (const LiveCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const LiveResult r = ComputeFromPercents(c.Values, c.Level, c.Half);
        EXPECT_FALSE(r.Total || r.Percents || r.Failed);
        EXPECT_EQ(r.PendingRate, c.PendingRate);
        EXPECT_EQ(r.RateField, c.RateField);
        EXPECT_EQ(r.Skill, c.Skill);
    }
}

TEST_F(ResultComputationTest, ComputeFromCounts) {
    const LiveCase cases[] = {
        {"weighted mean", {500, 30, 3, 0, 2, 535}, "45", false, 9588, 95, 1423},
        // The preview keeps the hundredths (14.12); the recalculation's
        // SkillFromCounts would give 14.10 from the whole percent.
        {"rate path, not SkillFromCounts", {1250, 0, 0, 0, 0, 945}, "45", false, 9512, 95, 1412},
        {"halved", {500, 30, 3, 0, 2, 535}, "45", true, 4794, 47, 711},
        {"nothing counted", {0, 0, 0, 0, 0, 0}, "45", false, 0, 0, 0},
        {"level 0", {500, 30, 3, 0, 2, 535}, " 0", false, 9588, 95, 0},
    };
    for (const LiveCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const LiveResult r = ComputeFromCounts(c.Values, c.Level, c.Half);
        EXPECT_FALSE(r.Failed);
        EXPECT_EQ(r.Total, SharesFromCounts(c.Values).Total);
        EXPECT_EQ(r.Percents, SharesFromCounts(c.Values).Percents);
        EXPECT_EQ(r.PendingRate, c.PendingRate);
        EXPECT_EQ(r.RateField, c.RateField);
        EXPECT_EQ(r.Skill, c.Skill);
    }
}

TEST_F(ResultComputationTest, ComputeFromRate) {
    struct Case {
        const char* Name;
        int32_t Typed;
        const char* Level;
        bool Half;
        std::optional<int32_t> RateField;
        int32_t PendingRate;
        int32_t Skill;
    };
    const Case cases[] = {
        {"typed", 95, "80", false, std::nullopt, 9500, 2508},
        {"capped at 50 with the toggle", 80, "80", true, 50, 5000, 1320},
        {"not halved below the cap", 40, "80", true, std::nullopt, 4000, 1056},
        {"level 0", 95, "0", false, std::nullopt, 9500, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const LiveResult r = ComputeFromRate(c.Typed, c.Level, c.Half);
        EXPECT_EQ(r.RateField, c.RateField);
        EXPECT_EQ(r.PendingRate, c.PendingRate);
        EXPECT_EQ(r.Skill, c.Skill);
    }
}

TEST_F(ResultComputationTest, BlankLevelComputesNoSkill) {
    const LiveResult percents = ComputeFromPercents({100, 0, 0, 0, 0, 100}, "  ", false);
    EXPECT_FALSE(percents.PendingRate || percents.RateField || percents.Skill);
    const LiveResult rate = ComputeFromRate(95, "  ", false);
    EXPECT_FALSE(rate.PendingRate || rate.Skill);
    // Counts still fill the percentages and the rate.
    const LiveResult counts = ComputeFromCounts({500, 30, 3, 0, 2, 535}, "  ", false);
    EXPECT_EQ(counts.PendingRate, 9588);
    EXPECT_FALSE(counts.Skill);
}

TEST_F(ResultComputationTest, WaruZeroFailsQuietly) {
    computer.Waru = 0;
    const LiveResult percents = ComputeFromPercents({90, 10, 0, 0, 0, 100}, "45", false);
    EXPECT_TRUE(percents.Failed);
    EXPECT_FALSE(percents.PendingRate || percents.Skill);

    const LiveResult counts = ComputeFromCounts({500, 30, 3, 0, 2, 535}, "45", false);
    EXPECT_TRUE(counts.Failed);
    EXPECT_EQ(counts.Percents, (Judgements{93, 6, 1, 0, 0, 100})); // computed before the rate
    EXPECT_FALSE(counts.PendingRate || counts.Skill);

    // No judged note: the counts formula divides by nothing.
    EXPECT_FALSE(ComputeFromCounts({0, 0, 0, 0, 0, 5}, "45", false).Failed);
    // The typed rate does not use Waru.
    EXPECT_EQ(ComputeFromRate(95, "80", false).Skill, 2508);
}

TEST(SkillDeltaView, ShowsTheChangeAndEnablesOkOnlyOnARise) {
    struct Case {
        double Skill, Stored;
        bool OnlyIfRaised;
        std::string Text;
        DeltaLook Look;
        bool Ok;
    };
    const Case cases[] = {
        {25.08, 25.11, true, "-0.03", DeltaLook::Down, false},
        {25.08, 25.11, false, "-0.03", DeltaLook::Down, true},
        {14.12, 14.12, true, "---", DeltaLook::Plain, false},
        {0.0, 0.0, false, "---", DeltaLook::Plain, true},
        {14.13, 14.12, true, "+0.01", DeltaLook::Up, true},
        {100.0, 0.0, true, "+100.00", DeltaLook::Up, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        const DeltaView view = SkillDeltaView(c.Skill, c.Stored, c.OnlyIfRaised);
        EXPECT_EQ(view.Text, c.Text);
        EXPECT_EQ(view.Look, c.Look);
        EXPECT_EQ(view.OkEnabled, c.Ok);
    }
}

TEST(StoredInputMode, HalfRateAlwaysStoresAnEnteredRate) {
    EXPECT_EQ(StoredInputMode(0, false), InputRate);
    EXPECT_EQ(StoredInputMode(InputRate, false), InputRate);
    EXPECT_EQ(StoredInputMode(InputPercents, false), InputPercents);
    EXPECT_EQ(StoredInputMode(InputCounts, false), InputCounts);
    EXPECT_EQ(StoredInputMode(7, false), InputRate);
    EXPECT_EQ(StoredInputMode(InputPercents, true), InputRate);
    EXPECT_EQ(StoredInputMode(InputCounts, true), InputRate);
}

TEST(CommentForStorage, AppendsABlankAtTheLimitAndFlattensTheLine) {
    EXPECT_EQ(CommentForStorage("abc"), "abc");
    EXPECT_EQ(CommentForStorage(std::string(99, 'x')), std::string(99, 'x'));
    EXPECT_EQ(CommentForStorage(std::string(100, 'x')), std::string(100, 'x') + " ");
    EXPECT_EQ(CommentForStorage(std::string(120, 'x')), std::string(120, 'x') + " ");
    EXPECT_EQ(CommentForStorage("a\r\nb\tc"), "a b    c");
    // Counted in bytes: 50 double-byte characters reach the limit.
    SjisString wide;
    for (int i = 0; i < 50; ++i)
        wide += Sj("あ");
    EXPECT_EQ(CommentForStorage(wide), wide + " ");
    // The length is taken before line ends are flattened.
    EXPECT_EQ(CommentForStorage(std::string(99, 'x') + "\n"), std::string(99, 'x') + " ");
}

} // namespace
