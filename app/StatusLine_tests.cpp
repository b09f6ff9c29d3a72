// The status line: the design's size and stitch count, and the stitch warning once per run.

#include <gtest/gtest.h>

#include "app/EditorTestFixture.h"
#include "design/DocumentTestLayers.h"
#include "gui/Label.h"

namespace {

const char* const kKey = "Size: %.1f x %.1f mm.  Total stitches: %i";

TEST(StatusText, FormatsTheSizeInMillimetresAndTheCount) {
    EXPECT_EQ(statusText(kKey, 15, 20, 7), "Size: 1.5 x 2.0 mm.  Total stitches: 7");
    // A translation with its words in another order of conversions is not trusted.
    EXPECT_EQ(statusText("%i stitches, %.1f x %.1f", 15, 20, 7),
              "Size: 1.5 x 2.0 mm.  Total stitches: 7");
    EXPECT_EQ(statusText("%s%s%s%n", 15, 20, 7), "Size: 1.5 x 2.0 mm.  Total stitches: 7");
    EXPECT_EQ(statusText("%.1f x %.1f mm, 100%% (%d)", 15, 20, 7), "1.5 x 2.0 mm, 100% (7)");
}

using StatusLine = EditorFixture;

TEST_F(StatusLine, ShowsTheUnionOfAllLayers) {
    EXPECT_EQ(ui.statusLabel->title, "");
    doc().appendLayer(testlayers::line(0, 0, 15, 10, 5), "a");
    doc().appendLayer(testlayers::line(-5, 5, 10, 20, 6), "b");
    frame();  // the canvas refreshes the status once the design changed
    EXPECT_EQ(ui.statusLabel->title,
              "Size: 2.0 x 2.0 mm.  Total stitches: " +
                  std::to_string(doc().layers[0].stitchCount + doc().layers[1].stitchCount));
}

TEST_F(StatusLine, WarnsOnceWhenTheDesignReaches200000Stitches) {
    doc().appendLayer(testlayers::line(0, 0, 15, 10, 5), "a");
    doc().layers[0].stitchCount = 199999;
    updateStatus();
    EXPECT_TRUE(warnings.empty());
    doc().layers[0].stitchCount = 200000;
    updateStatus();
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "Warning");
    doc().layers[0].stitchCount = 10;
    updateStatus();
    doc().layers[0].stitchCount = 300000;
    updateStatus();
    EXPECT_EQ(warnings.size(), 1u);  // crossing again in the same run: no second box
}

}  // namespace
