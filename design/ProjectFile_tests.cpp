// Project files: the exact text part, round trips of every layer kind, the reader's rules for
// keys, values and line ends, and damaged files.

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

#include "design/Border.h"
#include "design/Document.h"
#include "design/DocumentTestLayers.h"
#include "design/HeadlessLayerList.h"
#include "design/PESExport.h"
#include "design/ProjectFile.h"
#include "design/ShapeLayer.h"
#include "design/commands/AddTextCommand.h"
#include "design/commands/CreateBorderCommand.h"
#include "design/commands/CreateShapeCommand.h"
#include "design/commands/MergeDownCommand.h"
#include "design/commands/PESEffectCommand.h"
#include "design/commands/TextEffectCommand.h"
#include "design/commands/TranslateCommand.h"
#include "stitchfont/FontSizes.h"
#include "stitchfont/TestPack.h"

namespace {

using testlayers::line;
using testlayers::twoColors;
using Bytes = std::vector<uint8_t>;

std::string text(const Bytes& b) {
    return std::string(b.begin(), b.end());
}
Bytes bytes(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

std::vector<Stitch> allStitches(const PESData& l) {
    std::vector<Stitch> s;
    for (const auto& b : l.blocks)
        for (const auto& x : b.stitches)
            s.push_back(x);
    return s;
}

std::vector<std::pair<int, int>> positions(const PESData& l) {
    std::vector<std::pair<int, int>> p;
    for (const auto& s : allStitches(l))
        p.push_back({s.x, s.y});
    return p;
}

class Project : public ::testing::Test {
protected:
    void SetUp() override {
        const auto glyphs = testpack::pack(
            {{'T', 40, 60}, {'e', 30, 50}, {'x', 30, 50}, {'t', 40, 40}, {'A', 40, 80}});
        data.files[stitchfont::packPath(0, 0)] = glyphs;
        data.files[stitchfont::packPath(0, 3)] = glyphs;
        doc.fontEnv = data.env(false);
        other.fontEnv = data.env(false);
    }
    template <class C, class... A>
    void run(A&&... args) {
        ASSERT_TRUE(execute(doc, std::make_shared<C>(doc, std::forward<A>(args)...)));
    }
    // Saves doc and loads the bytes into `other`.
    Bytes roundTrip() {
        const Bytes b = projectBytes(doc, 130, 180);
        EXPECT_TRUE(loadProject(other, b));
        return b;
    }

    testpack::MemoryData data;
    HeadlessLayerList list, otherList;
    Document doc{list};
    Document other{otherList};
};

TEST_F(Project, TextPartIsWrittenExactly) {
    PESData pes = line(-10, -10, 10, 10, 5);
    pes.properties.baselineIndex = 2;
    pes.properties.rotateValue = 0.75f;
    pes.properties.radiusValue = 0.333f;
    doc.appendLayer(pes, "p");
    PESData shape = shapes::buildShapeLayer(shapes::shapeProperties(1, 3.0f, 2.5f, 0.3f, 0.4f, 3));
    doc.appendLayer(shape, "s");
    const Bytes b = projectBytes(doc, 100, 100);
    const std::string t = text(b);
    const std::string pesFile = text(writePES1(doc.layers[0], 100, 100));
    const std::string expected =
        "#MPES\nAppname=MES - Mivo Embroidery System\nCodename=0230_MivoEMB\nVersion=1.00\n"
        "numLayer=2\n\n"
        "LayerId=0\ntype=1\ntext=Text\nfontIndex=0\nfontSizeIndex=0\ncolorIndex=4\n"
        "baselineIndex=0\nradiusValue=0.33\nangleValue=0.10\nextraLetterSpace=0\nextraSpace=0\n"
        "centerx=0\ncentery=0\nrotateValue=0.50\nnumColorChange=0\nbyteLength=" +
        std::to_string(pesFile.size()) +
        "\nrotateValue=0.75\n\n"
        "LayerId=1\ntype=2\ntext=Text\nfontIndex=0\nfontSizeIndex=0\ncolorIndex=3\n"
        "baselineIndex=0\nradiusValue=0.50\nangleValue=0.10\nextraLetterSpace=0\nextraSpace=0\n"
        "centerx=" +
        std::to_string(doc.layers[1].centerX) +
        "\ncentery=" + std::to_string(doc.layers[1].centerY) +
        "\nrotateValue=0.50\nshapeIndex=1\nwidth=3.0\nheight=2.5\nlineWidth=0.3\ndensity=0.4\n\n"
        "[PESDATA]\n" +
        pesFile;
    EXPECT_EQ(t, expected);

    // Loading gives the later rotateValue and the rounded radius.
    ASSERT_TRUE(loadProject(other, b));
    ASSERT_EQ(other.layerCount(), 2);
    EXPECT_FLOAT_EQ(other.layers[0].properties.rotateValue, 0.75f);
    EXPECT_FLOAT_EQ(other.layers[0].properties.radiusValue, 0.33f);
    EXPECT_EQ(other.layers[0].properties.baselineIndex, 0);
    EXPECT_EQ(other.layers[0].properties.text, kDefaultGreetingText);
    EXPECT_EQ(std::string(kDefaultGreetingText).size(), 64u);
}

TEST_F(Project, EmptyDesignWritesNothing) {
    EXPECT_TRUE(projectBytes(doc, 100, 100).empty());
    EXPECT_FALSE(saveProject(doc, "/tmp/never.mpes", 100, 100));
}

TEST_F(Project, PathsGetTheExtensionOnce) {
    EXPECT_EQ(projectPath("design"), "design.mpes");
    EXPECT_EQ(projectPath("DESIGN.MPES"), "DESIGN.MPES");
    EXPECT_EQ(projectPath("/a/b.Mpes"), "/a/b.Mpes");
    EXPECT_EQ(projectPath("x.pes"), "x.pes.mpes");
    EXPECT_EQ(projectPath(""), ".mpes");
}

TEST_F(Project, PESLayersComeBackWhereTheyWere) {
    doc.appendLayer(twoColors(5, 7), "a");
    run<PESEffectCommand>(0, 0, 0.5f, 0.1f, 0.75f);
    run<TranslateCommand>(0, 123, -45);
    doc.appendLayer(line(0, 0, 40, 40, 9), "b");
    doc.appendLayer(line(-30, 0, 40, 10, 11), "c");
    run<MergeDownCommand>(1);
    roundTrip();
    ASSERT_EQ(other.layerCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const PESData& l = other.layers[i];
        const PESData& saved = doc.layers[i];
        EXPECT_EQ(positions(l), positions(saved)) << i;
        EXPECT_EQ(l.colorList, saved.colorList) << i;
        EXPECT_EQ(l.centerX, saved.centerX) << i;
        EXPECT_EQ(l.properties.colorIndex, saved.properties.colorIndex) << i;
        EXPECT_EQ(l.sourceBlocks.size(), l.blocks.size()) << i;
        EXPECT_EQ(l.textureSlot, i);
        EXPECT_NE(other.layerTexture(i), nullptr);
    }
    EXPECT_FLOAT_EQ(other.layers[0].properties.rotateValue, 0.75f);
    EXPECT_EQ(other.layers[1].colorList, (std::vector<uint8_t>{9, 11}));
    EXPECT_EQ(otherList.selected, 0);
    EXPECT_FALSE(other.history.canUndo());
}

TEST_F(Project, TextShapeAndBorderLayersAreRebuilt) {
    run<AddTextCommand>(-1);
    LayerProperties p = doc.layers[0].properties;
    p.text = "TAxA";
    p.fontSizeIndex = 3;
    p.colorIndex = 20;
    p.baselineIndex = 1;
    run<TextEffectCommand>(0, "Text Effect", p, 0, 0);  // radius and angle chosen
    p = doc.layers[0].properties;
    p.radiusValue = 0.42f;
    p.angleValue = 0.33f;
    p.rotateValue = 0.25f;
    run<TextEffectCommand>(0, "Text Effect", p, 0, 0);
    run<TranslateCommand>(0, 50, 60);
    PESData border;
    ASSERT_TRUE(border::buildBorderLayer(doc.layers[0], 7, border));
    run<CreateBorderCommand>(border);
    doc.select(0);
    run<CreateShapeCommand>(
        shapes::buildShapeLayer(shapes::shapeProperties(2, 4.0f, 3.0f, 0.3f, 0.4f, 2)));

    roundTrip();
    ASSERT_EQ(other.layerCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const PESData& a = doc.layers[i];
        const PESData& b = other.layers[i];
        EXPECT_EQ(b.properties.type, a.properties.type) << i;
        EXPECT_EQ(b.properties.text, i == 1 ? kDefaultGreetingText : a.properties.text) << i;
        EXPECT_EQ(b.properties.colorIndex, a.properties.colorIndex) << i;
        EXPECT_EQ(b.centerX, a.centerX) << i;
        EXPECT_EQ(b.centerY, a.centerY) << i;
        EXPECT_EQ(positions(b), positions(a)) << i;
    }
    EXPECT_EQ(other.layers[0].properties.baselineIndex, 1);
    EXPECT_FLOAT_EQ(other.layers[0].properties.rotateValue, 0.25f);
    EXPECT_EQ(other.layers[2].properties.shapeIndex, 2);
    EXPECT_FLOAT_EQ(other.layers[2].properties.width, 4.0f);
    EXPECT_FALSE(other.history.canUndo());
}

TEST_F(Project, ReaderRules) {
    const std::string base = "#MPES\nnumLayer=1\n\nLayerId=0\ntype=2\n";
    struct Case {
        std::string lines;
        std::function<void(const PESData&)> check;
    } cases[] = {
        {"text=a=b\n", [](const PESData& l) { EXPECT_EQ(l.properties.text, "a"); }},
        {"text=\n", [](const PESData& l) { EXPECT_EQ(l.properties.text, ""); }},
        {"shapeIndex=3\n", [](const PESData& l) { EXPECT_EQ(l.properties.shapeIndex, 8); }},
        {"shapeIndex=4\n", [](const PESData& l) { EXPECT_EQ(l.properties.shapeIndex, 4); }},
        {"colorIndex=abc\n", [](const PESData& l) { EXPECT_EQ(l.properties.colorIndex, 0); }},
        {"colorIndex=12xyz\n", [](const PESData& l) { EXPECT_EQ(l.properties.colorIndex, 12); }},
        {"rotateValue=0.25\nrotateValue=0.75\n",
         [](const PESData& l) { EXPECT_FLOAT_EQ(l.properties.rotateValue, 0.75f); }},
        {"width=nan\n", [](const PESData& l) { EXPECT_EQ(l.properties.width, 0.0f); }},
        {"ColorIndex=5\n", [](const PESData& l) { EXPECT_EQ(l.properties.colorIndex, 10); }},
        {"LayerId=7\ncolorIndex=5\n",
         [](const PESData& l) { EXPECT_EQ(l.properties.colorIndex, 10); }},
        {"centerx=-12\ncentery=99999999999\n",
         [](const PESData& l) {
             EXPECT_EQ(l.centerX, -12);
             EXPECT_EQ(l.centerY, 1 << 24);  // damage: kept near the hoop
         }},
    };
    for (const Case& c : cases) {
        const Bytes b = bytes(base + c.lines + "[PESDATA]\n");
        std::vector<PESData> layers;
        ASSERT_TRUE(parseProject(b.data(), b.size(), layers)) << c.lines;
        ASSERT_EQ(layers.size(), 1u);
        c.check(layers[0]);
    }
    // Keys before numLayer are ignored.
    const Bytes early = bytes("LayerId=0\ncolorIndex=3\nnumLayer=1\n");
    std::vector<PESData> layers;
    ASSERT_TRUE(parseProject(early.data(), early.size(), layers));
    EXPECT_EQ(layers[0].properties.colorIndex, 10);
}

TEST_F(Project, NumLayerZeroLoadsAnEmptyDesign) {
    doc.appendLayer(line(0, 0, 5, 5, 5), "x");
    EXPECT_TRUE(loadProject(doc, bytes("#MPES\nnumLayer=0\n\n[PESDATA]\n")));
    EXPECT_EQ(doc.layerCount(), 0);
    EXPECT_EQ(list.cellCount(), 0);
    // Empty bytes: false, the design stays.
    doc.appendLayer(line(0, 0, 5, 5, 5), "x");
    EXPECT_FALSE(loadProject(doc, {}));
    EXPECT_EQ(doc.layerCount(), 1);
}

TEST_F(Project, CarriageReturnsLoadLikeLineFeeds) {
    doc.appendLayer(twoColors(5, 7), "a");
    run<TranslateCommand>(0, 10, 20);
    run<AddTextCommand>(-1);
    const Bytes lf = projectBytes(doc, 100, 100);
    const std::string t = text(lf);
    const std::size_t cut = t.find("[PESDATA]\n") + 10;
    std::string head = t.substr(0, cut), crlf;
    for (char c : head)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const Bytes withCrlf = bytes(crlf + t.substr(cut));
    std::vector<PESData> a, b;
    ASSERT_TRUE(parseProject(lf.data(), lf.size(), a));
    ASSERT_TRUE(parseProject(withCrlf.data(), withCrlf.size(), b));
    ASSERT_EQ(a.size(), 2u);
    ASSERT_EQ(b.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(positions(a[i]), positions(b[i]));
        EXPECT_EQ(a[i].properties.text, b[i].properties.text);
        EXPECT_EQ(a[i].centerX, b[i].centerX);
    }
    EXPECT_EQ(a[0].stitchCount, doc.layers[0].stitchCount);
    EXPECT_EQ(positions(a[0]), positions(doc.layers[0]));
}

TEST_F(Project, DamagedBinaryPartsStayInsideTheBytes) {
    doc.appendLayer(twoColors(5, 7), "a");
    doc.appendLayer(line(0, 0, 30, 30, 9), "b");
    const Bytes good = projectBytes(doc, 100, 100);
    const std::string t = text(good);
    const std::size_t firstLen = writePES1(doc.layers[0], 100, 100).size();

    // Truncated anywhere: never a crash; a cut layer has no stitches.
    for (std::size_t n = 0; n < good.size(); n += 7) {
        std::vector<PESData> layers;
        parseProject(good.data(), n, layers);
    }
    std::vector<PESData> layers;
    ASSERT_TRUE(parseProject(good.data(), good.size() - 5, layers));
    ASSERT_EQ(layers.size(), 2u);
    EXPECT_GT(layers[0].stitchCount, 0);
    EXPECT_EQ(layers[1].stitchCount, 0);

    // A byteLength past the end: that layer stays empty, the file still loads.
    std::string big = t;
    const std::string key = "byteLength=" + std::to_string(firstLen);
    big.replace(big.find(key), key.size(), "byteLength=99999999");
    ASSERT_TRUE(loadProject(other, bytes(big)));
    ASSERT_EQ(other.layerCount(), 2);
    EXPECT_EQ(other.layers[0].stitchCount, 0);

    // A garbled first file: the second still finds its data.
    Bytes garbled = good;
    const std::size_t bin = t.find("[PESDATA]\n") + 10;
    for (std::size_t i = bin + 1; i < bin + 40; ++i)
        garbled[i] = 0xEE;
    ASSERT_TRUE(parseProject(garbled.data(), garbled.size(), layers));
    EXPECT_EQ(layers[1].stitchCount, doc.layers[1].stitchCount);

    // No [PESDATA] line, negative lengths, pure garbage.
    for (const std::string& s : {t.substr(0, bin - 10),
                                 std::string("numLayer=1\nLayerId=0\ntype=1\ntext=x\n"
                                             "byteLength=-5\n[PESDATA]\n#PES"),
                                 std::string("\xff\xfe=\x00=\n\r\r=numLayer=9999999999\n", 26)}) {
        ASSERT_TRUE(loadProject(other, bytes(s)));
    }
}

TEST_F(Project, SaveReplacesTheFileOnlyWhenComplete) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("mes_project_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    doc.appendLayer(twoColors(5, 7), "a");
    std::string written;
    ASSERT_TRUE(saveProject(doc, (dir / "design").string(), 100, 100, &written));
    EXPECT_EQ(written, (dir / "design.mpes").string());
    std::ifstream in(written, std::ios::binary);
    const Bytes onDisk((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(onDisk, projectBytes(doc, 100, 100));
    EXPECT_FALSE(std::filesystem::exists(dir / "design.mpes.part"));

    // A target that cannot be written: false, nothing left behind.
    EXPECT_FALSE(saveProject(doc, (dir / "missing" / "x.mpes").string(), 100, 100));
    std::filesystem::remove_all(dir);
}

}  // namespace
