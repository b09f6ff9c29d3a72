// Layered colour artwork on small made-up drawings: hidden parts cut away with the overlap kept,
// thin strokes as satin, specks dropped, equal threads joined, colours matched in CIELAB.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "digitizer/Artwork.h"
#include "digitizer/DigitizerTestShapes.h"
#include "digitizer/Quality.h"
#include "formats/ThreadPalette.h"

using namespace digitizer;
using namespace digitizer_test;

namespace {

Ring disc(double cx, double cy, double r) {
    return circle(cx, cy, r, 96);
}

const Rgba kRed{237, 23, 31, 255}, kBlue{10, 85, 163, 255}, kYellow{255, 217, 17, 255};

}  // namespace

TEST(Artwork, LowerDiscIsCutUnderTheUpperOneWithTheOverlapKept) {
    // A red disc 20 mm across, a blue one 16 mm across on top of it, their centres 12 mm apart.
    std::vector<ArtLayer> art{{{disc(0, 0, 100)}, kRed}, {{disc(120, 0, 80)}, kBlue}};
    std::vector<ColorRun> runs = digitizeArtwork(art);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].thread, nearestThread(kRed));
    EXPECT_EQ(runs[1].thread, nearestThread(kBlue));

    const std::vector<Ring>& lower = runs[0].region;
    EXPECT_TRUE(insideOutline(lower, {-50, 0}));
    EXPECT_TRUE(insideOutline(lower, {40 - 2.0, 0}));   // 0.2 mm under the blue disc: the overlap
    EXPECT_FALSE(insideOutline(lower, {40 + 6.0, 0}));  // 0.6 mm under it: hidden, cut away
    EXPECT_FALSE(insideOutline(lower, {90, 0}));
    // The upper disc is whole.
    EXPECT_NEAR(ringsArea(runs[1].region), M_PI * 80 * 80, 0.01 * M_PI * 80 * 80);

    // No red needle point lies deeper under the blue disc than the overlap (plus rounding).
    for (const Needle& n : runs[0].path) {
        if (n.kind != Kind::Jump && n.kind != Kind::Trim) {
            EXPECT_GE(std::hypot(n.p.x - 120, n.p.y), 80 - 3.0 - 0.5) << n.p.x << "," << n.p.y;
        }
    }
    for (const ColorRun& r : runs) {
        Quality q = measure(r.region, r.path, ArtParams().stitch);
        EXPECT_GE(q.coverage, 0.95);
        EXPECT_LE(q.outside, 0.03);
        EXPECT_EQ(q.shortStitches, 0);
    }
    // The second run starts where the first one ended.
    EXPECT_EQ(runs[1].path.front().kind, Kind::Jump);
}

TEST(Artwork, ThinStrokeBecomesSatinAndWideRegionFill) {
    // A 1.5 mm wide stroke over a 30 x 20 mm block.
    std::vector<ArtLayer> art{{{rect(0, 0, 300, 200)}, kYellow},
                              {{rect(40, 90, 260, 105)}, kBlue}};
    std::vector<ColorRun> runs = digitizeArtwork(art);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_GT(count(runs[0].path, Kind::Fill), 100);
    EXPECT_GT(count(runs[1].path, Kind::Satin), 100);
    EXPECT_EQ(count(runs[1].path, Kind::Fill), 0);
    // The block is sewn around the stroke: a hole where the stroke hides it.
    EXPECT_FALSE(insideOutline(runs[0].region, {150, 97}));
    EXPECT_TRUE(insideOutline(runs[0].region, {150, 50}));
}

TEST(Artwork, SpeckIsDroppedAndTheLayerBelowKeepsItsPlace) {
    // A 0.5 x 0.5 mm blue speck on a yellow disc: too small for thread.
    std::vector<ArtLayer> art{{{disc(0, 0, 100)}, kYellow}, {{rect(-2, -2, 3, 3)}, kBlue}};
    std::vector<ColorRun> runs = digitizeArtwork(art);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].thread, nearestThread(kYellow));
    EXPECT_TRUE(insideOutline(runs[0].region, {0, 0}));
    // A sliver (0.3 mm wide) goes too, however long.
    art[1].outline = {rect(-80, -1.5, 80, 1.5)};
    runs = digitizeArtwork(art);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_TRUE(insideOutline(runs[0].region, {0, 0}));
}

TEST(Artwork, NearlyEqualColoursJoinIntoOneRun) {
    struct Case {
        const char* name;
        std::vector<ArtLayer> art;
        std::size_t runs;
    };
    const Rgba red2{230, 30, 36, 255};
    const Case cases[] = {
        {"neighbours", {{{disc(0, 0, 60)}, kRed}, {{disc(200, 0, 60)}, red2}}, 1},
        // Blue between two reds that it does not touch: the second red moves before it.
        {"apart", {{{disc(0, 0, 60)}, kRed}, {{disc(0, 200, 60)}, kBlue}, {{disc(200, 0, 60)}, red2}},
         2},
        // Blue under the second red: the order matters, three runs.
        {"stacked",
         {{{disc(0, 0, 60)}, kRed}, {{disc(200, 0, 60)}, kBlue}, {{disc(200, 0, 30)}, red2}},
         3},
    };
    for (const Case& c : cases) {
        std::vector<ColorRun> runs = digitizeArtwork(c.art);
        EXPECT_EQ(runs.size(), c.runs) << c.name;
        for (std::size_t i = 1; i < runs.size(); ++i)
            EXPECT_NE(runs[i].thread, runs[i - 1].thread) << c.name;
    }
    // Joined pieces are separate parts of one run: one trim between them, with lock stitches.
    std::vector<ColorRun> runs = digitizeArtwork(cases[0].art);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(count(runs[0].path, Kind::Trim), 1);
    EXPECT_EQ(count(runs[0].path, Kind::Jump), 0);
    EXPECT_EQ(count(runs[0].path, Kind::Lock), 8);  // two stitches at each end of each part
}

TEST(Artwork, ColoursMatchTheNearestThreadInLab) {
    struct Case {
        Rgba color;
        const char* name;
    };
    const Case cases[] = {
        {{0, 0, 0, 255}, "Black"},       {{255, 255, 255, 255}, "White"},
        {{237, 23, 31, 255}, "Red"},     {{255, 255, 0, 255}, "Yellow"},
        {{10, 85, 163, 255}, "Blue"},    {{45, 20, 5, 255}, "Dark Brown"},
        {{160, 160, 160, 255}, "Silver"},  // the appliqué entries share this grey
    };
    for (const Case& c : cases)
        EXPECT_STREQ(threadEntry(nearestThread(c.color)).name, c.name);
}

TEST(Artwork, RingsAreaCountsHolesNegative) {
    std::vector<ArtLayer> art{{{disc(0, 0, 100), disc(0, 0, 50)}, kRed}};  // same winding: filled
    std::vector<ColorRun> runs = digitizeArtwork(art);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_NEAR(ringsArea(runs[0].region), M_PI * 100 * 100, 0.01 * M_PI * 100 * 100);
    Ring hole = disc(0, 0, 50);
    std::reverse(hole.begin(), hole.end());
    art[0].outline = {disc(0, 0, 100), hole};
    runs = digitizeArtwork(art);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_NEAR(ringsArea(runs[0].region), M_PI * (100 * 100 - 50 * 50), 0.01 * M_PI * 10000);
}
