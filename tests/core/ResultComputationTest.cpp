#include "ui/ResultComputation.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/SkillCmp.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

class ResultComputationTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetData(GuitarEdition()); }

    DefaultFormulas formulas;
};

TEST_F(ResultComputationTest, SharesFromCounts) {
    struct Case {
        const char* Name;
        Judgements Counts;
        int32_t Total;
        Judgements Percents;
    };
    const Case cases[] = {
        {"spread to the zero share", {500, 30, 3, 0, 2, 535}, 535, {93, 6, 1, 0, 0, 100}},
        {"nothing counted", {0, 0, 0, 0, 0, 0}, 0, {0, 0, 0, 0, 0, 0}},
        // The exchange steps put MISS, POOR, GOOD here; a stable sort would raise GOOD.
        {"exchange order", {200, 0, 1, 1, 2, 0}, 204, {98, 0, 0, 1, 1, 0}},
        {"equal counts keep their order", {197, 0, 1, 1, 1, 0}, 200, {98, 0, 1, 1, 0, 0}},
        // 29 / 100 as a double lies below 0.29.
        {"extended truncation", {29, 71, 0, 0, 0, 100}, 100, {28, 72, 0, 0, 0, 100}},
        {"second pass only", {2, 0, 1, 0, 0, 3}, 3, {66, 0, 34, 0, 0, 100}},
        {"first then second pass", {682, 0, 5, 0, 13, 0}, 700, {97, 0, 1, 0, 2, 0}},
        {"combo share held to 100", {10, 0, 0, 0, 0, 20}, 10, {100, 0, 0, 0, 0, 100}},
        // The total is what the hidden total field holds.
        {"total held to 9999", {9000, 2000, 0, 0, 0, 0}, 9999, {90, 20, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const CountShares shares = SharesFromCounts(c.Counts);
        EXPECT_EQ(shares.Total, c.Total);
        EXPECT_EQ(shares.Percents, c.Percents);
    }
}

enum class Entered { Percents, Counts, Rate };

TEST_F(ResultComputationTest, LiveComputation) {
    struct Case {
        const char* Name;
        Entered Kind;
        Judgements Values; // the typed rate is the first
        const char* Level;
        bool Half;
        std::optional<int32_t> PendingRate, RateField, Skill;
    };
    const std::nullopt_t none = std::nullopt;
    const Case cases[] = {
        {"percents full", Entered::Percents, {100, 0, 0, 0, 0, 100}, "45", false, 10000, 100, 1485},
        {"percents above 100", Entered::Percents, {100, 10, 0, 0, 0, 99}, "45", false, 9900, 99, 1470},
        {"percents 90.6 stores 9059", Entered::Percents, {88, 1, 0, 0, 0, 100}, "45", false, 9059, 90, 1345},
        {"percents halved", Entered::Percents, {94, 4, 0, 0, 0, 100}, "45", true, 4800, 48, 712},
        {"percents level 0", Entered::Percents, {100, 0, 0, 0, 0, 100}, "0", false, 10000, 100, 0},
        {"percents blank level", Entered::Percents, {100, 0, 0, 0, 0, 100}, "  ", false, none, none, none},
        {"counts", Entered::Counts, {500, 30, 3, 0, 2, 535}, "45", false, 9588, 95, 1423},
        // The preview keeps the hundredths (14.12); the recalculation's
        // SkillFromCounts would give 14.10 from the whole percent.
        {"counts rate path", Entered::Counts, {1250, 0, 0, 0, 0, 945}, "45", false, 9512, 95, 1412},
        {"counts halved", Entered::Counts, {500, 30, 3, 0, 2, 535}, "45", true, 4794, 47, 711},
        {"counts nothing", Entered::Counts, {0, 0, 0, 0, 0, 0}, "45", false, 0, 0, 0},
        {"counts level 0", Entered::Counts, {500, 30, 3, 0, 2, 535}, " 0", false, 9588, 95, 0},
        {"counts blank level", Entered::Counts, {500, 30, 3, 0, 2, 535}, "  ", false, 9588, 95, none},
        {"rate", Entered::Rate, {95}, "80", false, 9500, none, 2508},
        {"rate capped at 50", Entered::Rate, {80}, "80", true, 5000, 50, 1320},
        {"rate not halved", Entered::Rate, {40}, "80", true, 4000, none, 1056},
        {"rate level 0", Entered::Rate, {95}, "0", false, 9500, none, 0},
        {"rate blank level", Entered::Rate, {95}, "  ", false, none, none, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const LiveResult r = c.Kind == Entered::Percents ? ComputeFromPercents(c.Values, c.Level, c.Half)
                             : c.Kind == Entered::Counts ? ComputeFromCounts(c.Values, c.Level, c.Half)
                                                         : ComputeFromRate(c.Values[0], c.Level, c.Half);
        EXPECT_FALSE(r.Failed);
        EXPECT_EQ(r.PendingRate, c.PendingRate);
        EXPECT_EQ(r.RateField, c.RateField);
        EXPECT_EQ(r.Skill, c.Skill);
    }
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        const DeltaView view = SkillDeltaView(c.Skill, c.Stored, c.OnlyIfRaised);
        EXPECT_EQ(view.Text, c.Text);
        EXPECT_EQ(view.Look, c.Look);
        EXPECT_EQ(view.OkEnabled, c.Ok);
    }
}

TEST(StoredInputMode, TheMarkerShownButAlwaysARateWithTheHalfRateToggle) {
    EXPECT_EQ(StoredInputMode(InputLegacy, false), InputRate);
    EXPECT_EQ(StoredInputMode(InputPercents, false), InputPercents);
    EXPECT_EQ(StoredInputMode(InputCounts, false), InputCounts);
    EXPECT_EQ(StoredInputMode(7, false), InputRate);
    EXPECT_EQ(StoredInputMode(InputCounts, true), InputRate);
}

TEST(CommentForStorage, AppendsABlankAtTheLimitAndFlattensTheLine) {
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
