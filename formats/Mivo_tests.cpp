// Tests of cutting "#MIVO" buffers.

#include <gtest/gtest.h>

#include <vector>

#include "formats/Mivo.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes mivo(std::initializer_list<uint8_t> rest) {
    Bytes b = {'#', 'M', 'I', 'V', 'O'};
    for (uint8_t x : rest)
        b.push_back(x);
    return b;
}

TEST(Mivo, CutsColourListAndStream) {
    const Bytes b = mivo({2, 5, 7, 9, 0x0A, 0x0A, 0xFF, 0x00});
    MivoBuffer m;
    ASSERT_TRUE(parseMivo(b.data(), b.size(), m));
    EXPECT_EQ(m.colors, (Bytes{5, 7, 9}));
    EXPECT_EQ(m.streamOffset, 9u);
}

TEST(Mivo, RejectsMalformedBuffers) {
    struct Case {
        const char* name;
        Bytes bytes;
        const char* error;
    };
    const Case cases[] = {
        {"empty", {}, "Error file not found"},
        {"no number sign", {'M', 'I', 'V', 'O', 0, 5, 0xFF, 0x00}, "MIVO header invalid"},
        {"magic only", mivo({}), "MIVO colour count invalid"},
        {"count byte 128", mivo({0x80, 5, 0xFF, 0x00}), "MIVO colour count invalid"},
        {"count byte 255", mivo({0xFF, 5}), "MIVO colour count invalid"},
        {"colour list cut short", mivo({3, 5, 6}), "MIVO colour list cut short"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FormatLog log;
        MivoBuffer m;
        EXPECT_FALSE(parseMivo(c.bytes.data(), c.bytes.size(), m, &log));
        ASSERT_EQ(log.lines.size(), 1u);
        EXPECT_EQ(log.lines[0].text, c.error);
        EXPECT_EQ(log.lines[0].module, "PESData::loadMIVO()");
        EXPECT_EQ(log.lines[0].level, 3);
    }
}

TEST(Mivo, ColourListMayEndTheBuffer) {
    const Bytes b = mivo({0, 5});
    MivoBuffer m;
    ASSERT_TRUE(parseMivo(b.data(), b.size(), m));
    EXPECT_EQ(m.streamOffset, b.size());
    EXPECT_TRUE(isMivo(b.data(), b.size()));
    EXPECT_FALSE(isMivo(b.data(), 4));
}

}  // namespace
