// The thread palette table and its lookups.

#include "formats/ThreadPalette.h"

namespace {

struct Entry {
    ThreadColor thread;
    const char* displayName;  // what threadName returns, formatted once here
};

// Index 0 is the fall-back. Codes repeat on purpose (005 at 0 and 16, 337 at 6 and 17, 515 at 10
// and 56): they are the thread maker's catalogue numbers.
const Entry kPalette[pec::kPaletteSize] = {
    {{168, 168, 168, "Default", "005"}, "Default (005)"},
    {{14, 31, 124, "Prussian Blue", "007"}, "Prussian Blue (007)"},
    {{10, 85, 163, "Blue", "405"}, "Blue (405)"},
    {{48, 135, 119, "Teal Green", "534"}, "Teal Green (534)"},
    {{75, 107, 175, "Cornflower Blue", "070"}, "Cornflower Blue (070)"},
    {{237, 23, 31, "Red", "800"}, "Red (800)"},
    {{209, 92, 0, "Reddish Brown", "337"}, "Reddish Brown (337)"},
    {{145, 54, 151, "Magenta", "620"}, "Magenta (620)"},
    {{228, 154, 203, "Light Lilac", "810"}, "Light Lilac (810)"},
    {{145, 95, 172, "Lilac", "612"}, "Lilac (612)"},
    {{157, 214, 125, "Mint Green", "515"}, "Mint Green (515)"},
    {{232, 169, 0, "Deep Gold", "214"}, "Deep Gold (214)"},
    {{254, 186, 53, "Orange", "208"}, "Orange (208)"},
    {{255, 255, 0, "Yellow", "205"}, "Yellow (205)"},
    {{112, 188, 31, "Lime Green", "513"}, "Lime Green (513)"},
    {{186, 152, 0, "Brass", "328"}, "Brass (328)"},
    {{168, 168, 168, "Silver", "005"}, "Silver (005)"},
    {{123, 111, 0, "Russet Brown", "337"}, "Russet Brown (337)"},
    {{255, 255, 179, "Cream Brown", "010"}, "Cream Brown (010)"},
    {{95, 101, 121, "Pewter", "704"}, "Pewter (704)"},
    {{0, 0, 0, "Black", "900"}, "Black (900)"},
    {{11, 61, 145, "Ultramarine", "406"}, "Ultramarine (406)"},
    {{119, 1, 118, "Royal Purple", "869"}, "Royal Purple (869)"},
    {{41, 49, 51, "Dark Gray", "707"}, "Dark Gray (707)"},
    {{42, 19, 1, "Dark Brown", "058"}, "Dark Brown (058)"},
    {{246, 74, 138, "Deep Rose", "086"}, "Deep Rose (086)"},
    {{178, 118, 36, "Light Brown", "323"}, "Light Brown (323)"},
    {{252, 187, 196, "Salmon Pink", "079"}, "Salmon Pink (079)"},
    {{254, 55, 15, "Vermillion", "030"}, "Vermillion (030)"},
    {{240, 240, 240, "White", "001"}, "White (001)"},
    {{106, 28, 138, "Violet", "613"}, "Violet (613)"},
    {{168, 221, 196, "Seacrest", "542"}, "Seacrest (542)"},
    {{37, 132, 187, "Sky Blue", "019"}, "Sky Blue (019)"},
    {{254, 179, 67, "Pumpkin", "126"}, "Pumpkin (126)"},
    {{240, 231, 101, "Cream Yellow", "812"}, "Cream Yellow (812)"},
    {{208, 166, 96, "Khaki", "348"}, "Khaki (348)"},
    {{209, 84, 0, "Clay Brown", "339"}, "Clay Brown (339)"},
    {{102, 186, 73, "Leaf Green", "509"}, "Leaf Green (509)"},
    {{19, 74, 70, "Peacock Blue", "415"}, "Peacock Blue (415)"},
    {{110, 123, 119, "Gray", "817"}, "Gray (817)"},
    {{216, 202, 198, "Warm Gray", "399"}, "Warm Gray (399)"},
    {{67, 86, 7, "Dark Olive", "517"}, "Dark Olive (517)"},
    {{240, 225, 198, "Linen", "307"}, "Linen (307)"},
    {{249, 147, 188, "Pink", "085"}, "Pink (085)"},
    {{0, 56, 34, "Deep Green", "808"}, "Deep Green (808)"},
    {{178, 175, 212, "Lavender", "804"}, "Lavender (804)"},
    {{104, 106, 176, "Wisteria Violet", "607"}, "Wisteria Violet (607)"},
    {{239, 227, 185, "Beige", "843"}, "Beige (843)"},
    {{247, 56, 102, "Carmine", "807"}, "Carmine (807)"},
    {{181, 76, 100, "Amber Red", "333"}, "Amber Red (333)"},
    {{19, 43, 26, "Olive Green", "519"}, "Olive Green (519)"},
    {{199, 1, 85, "Dark Fuschia", "107"}, "Dark Fuschia (107)"},
    {{254, 158, 50, "Tangerine", "209"}, "Tangerine (209)"},
    {{168, 222, 235, "Light Blue", "017"}, "Light Blue (017)"},
    {{0, 103, 26, "Emerald Green", "507"}, "Emerald Green (507)"},
    {{78, 41, 144, "Purple", "614"}, "Purple (614)"},
    {{47, 126, 32, "Moss Green", "515"}, "Moss Green (515)"},
    {{254, 227, 197, "Flesh Pink", "124"}, "Flesh Pink (124)"},
    {{255, 217, 17, "Harvest Gold", "206"}, "Harvest Gold (206)"},
    {{9, 91, 166, "Electric Blue", "420"}, "Electric Blue (420)"},
    {{240, 249, 112, "Lemon Yellow", "202"}, "Lemon Yellow (202)"},
    {{227, 243, 91, "Fresh Green", "027"}, "Fresh Green (027)"},
    {{160, 160, 160, "Applique material", "x9"}, "Applique material"},
    {{160, 160, 160, "Applique position", "x8"}, "Applique position"},
    {{160, 160, 160, "Applique", "x7"}, "Applique"},
};

int clampIndex(int index) {
    return (index < 1 || index > 64) ? 0 : index;
}

}  // namespace

const ThreadColor& threadEntry(int index) {
    return kPalette[clampIndex(index)].thread;
}

Rgba threadColor(int index) {
    const ThreadColor& t = threadEntry(index);
    return Rgba{t.r, t.g, t.b, 255};
}

const char* threadName(int index) {
    return kPalette[clampIndex(index)].displayName;
}
