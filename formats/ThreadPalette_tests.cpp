// Tests of the thread palette lookups.

#include <gtest/gtest.h>

#include <cstring>

#include "formats/ThreadPalette.h"

namespace {

struct PaletteCase {
    int index;
    const char* name;
    Rgba color;
};

TEST(ThreadPalette, LookupsByIndex) {
    const PaletteCase cases[] = {
        {0, "Default (005)", {168, 168, 168, 255}},
        {65, "Default (005)", {168, 168, 168, 255}},
        {-3, "Default (005)", {168, 168, 168, 255}},
        {1, "Prussian Blue (007)", {14, 31, 124, 255}},
        {5, "Red (800)", {237, 23, 31, 255}},
        {16, "Silver (005)", {168, 168, 168, 255}},
        {20, "Black (900)", {0, 0, 0, 255}},
        {29, "White (001)", {240, 240, 240, 255}},
        {61, "Fresh Green (027)", {227, 243, 91, 255}},
        {62, "Applique material", {160, 160, 160, 255}},
        {63, "Applique position", {160, 160, 160, 255}},
        {64, "Applique", {160, 160, 160, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_STREQ(threadName(c.index), c.name);
        EXPECT_EQ(threadColor(c.index), c.color);
    }
}

TEST(ThreadPalette, EveryEntryIsOpaqueAndNamed) {
    for (int i = 0; i < pec::kPaletteSize; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(threadColor(i).a, 255);
        EXPECT_EQ(std::strlen(threadEntry(i).code) == 3 || threadEntry(i).code[0] == 'x', true);
        EXPECT_LT(std::strlen(threadName(i)), 32u);  // fits the fixed text slot of the display
        EXPECT_EQ(threadName(i), threadName(i));     // same text on every call
    }
}

}  // namespace
