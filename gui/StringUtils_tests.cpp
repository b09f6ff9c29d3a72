#include "gui/StringUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

const std::string thai = "\xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1\xE0\xB8\xAA\xE0\xB8\x94\xE0\xB8\xB5";

class QuietLog : public testing::Test {
protected:
    void SetUp() override {
        saved = logThreshold;
        logThreshold = 5;
    }
    void TearDown() override { logThreshold = saved; }
    int saved = 1;
};

using Utf8 = QuietLog;

TEST_F(Utf8, Validity) {
    struct Case {
        std::string text;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"", true},
        {"plain", true},
        {thai, true},
        {"\xF0\x9F\x98\x80", true},   // U+1F600
        {"\xC3", false},              // cut off
        {"a\xE0\xB8", false},         // cut off Thai
        {"\xC0\xAF", false},          // overlong "/"
        {"\xED\xA0\x80", false},      // surrogate
        {"\xF4\x90\x80\x80", false},  // above U+10FFFF
        {"\x80", false},              // stray continuation byte
        {"ok\xFF", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ofUTF8::isValid(c.text), c.valid) << testing::PrintToString(c.text);
    }
}

TEST_F(Utf8, InvalidTextLogsTheValidPart) {
    logThreshold = 3;
    CaptureStderr();
    EXPECT_FALSE(ofUTF8::isValid("abc\xFFxyz"));
    EXPECT_EQ(GetCapturedStderr(), "ofUTF8::isValid - detected invalid UTF8 - valid part: abc: \n");
}

TEST_F(Utf8, Repair) {
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(ofUTF8::repair("a\xFF"
                             "b"),
              "a" + fffd + "b");
    EXPECT_EQ(ofUTF8::repair("a\xE0\xB8"), "a" + fffd);  // incomplete at the end
    EXPECT_EQ(ofUTF8::repair(thai), thai);
    EXPECT_EQ(ofUTF8::repair("a\xFF"
                             "b",
                             '?'),
              "a?b");
    std::string inPlace = "x\xC3";
    ofUTF8::repairInPlace(inPlace);
    EXPECT_EQ(inPlace, "x" + fffd);
    EXPECT_TRUE(ofUTF8::isValid(inPlace));
}

TEST_F(Utf8, RepairWithUnusableReplacementKeepsWhatWasCopied) {
    logThreshold = 3;
    CaptureStderr();
    EXPECT_EQ(ofUTF8::repair("ab\xFF"
                             "cd",
                             0xD800),
              "ab");
    EXPECT_EQ(GetCapturedStderr(), "ofUTF8::repair : Invalid code point: \n");
}

TEST_F(Utf8, ThaiRoundTripIsByteForByte) {
    const std::u32string wide = ofTextConverter::toUTF32(thai);
    ASSERT_EQ(wide.size(), 6u);
    EXPECT_EQ(wide[0], U'\u0E2A');
    EXPECT_EQ(ofTextConverter::toUTF8(wide), thai);
    const std::string mixed = "A\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80" + thai;
    EXPECT_EQ(ofTextConverter::toUTF8(ofTextConverter::toUTF32(mixed)), mixed);
}

TEST_F(Utf8, ConversionStopsAtBadInput) {
    logThreshold = 3;
    CaptureStderr();
    EXPECT_EQ(ofTextConverter::toUTF32("ab\xFF"
                                       "cd"),
              U"ab");
    EXPECT_EQ(ofTextConverter::toUTF32("ab\xE0\xB8"), U"ab");
    const std::u32string surrogate{U'o', U'k', static_cast<char32_t>(0xD800), U'm'};
    EXPECT_EQ(ofTextConverter::toUTF8(surrogate), "ok");
    const std::u32string tooLarge{U'x', static_cast<char32_t>(0x110000)};
    EXPECT_EQ(ofTextConverter::toUTF8(tooLarge), "x");
    const std::string err = GetCapturedStderr();
    const std::string module = "ofTextConverter::toUniChar::toUniString : ";
    EXPECT_EQ(err, module + "Invalid UTF-8: \n" + module + "Not enough space: \n" + module +
                       "Invalid code point: \n" + module + "Invalid code point: \n");
}

using Strings = QuietLog;

TEST_F(Strings, Trim) {
    EXPECT_EQ(GUI_Trim("  a b \t\r\n"), "a b");
    EXPECT_EQ(GUI_Trim(""), "");
    EXPECT_EQ(GUI_Trim(" \t "), "");
    EXPECT_EQ(GUI_Trim("x"), "x");
    EXPECT_EQ(GUI_Trim(" " + thai + " "), thai);  // bytes above 0x7F are never space
}

TEST_F(Strings, Split) {
    struct Case {
        std::string source, delimiter;
        bool ignoreEmpty, trim;
        std::vector<std::string> pieces;
    };
    const std::vector<Case> cases = {
        {"a==b", "=", true, false, {"a", "b"}},
        {"a==b", "=", false, false, {"a", "", "b"}},
        {"a = b ", "=", false, true, {"a", "b"}},
        {"a = b ", "=", false, false, {"a ", " b "}},
        {"abc", "", false, false, {"abc"}},
        {"", ",", false, false, {""}},
        {"", ",", true, false, {}},
        {",a,", ",", false, false, {"", "a", ""}},
        {"a, ,b", ",", true, true, {"a", "b"}},
        {"a--b----c", "--", false, false, {"a", "b", "", "c"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GUI_Split(c.source, c.delimiter, c.ignoreEmpty, c.trim), c.pieces)
            << "'" << c.source << "' at '" << c.delimiter << "'";
    }
}

TEST_F(Strings, Replace) {
    std::string text = "say \"hi\" \"there\"";
    GUI_Replace(text, "\"", "");
    EXPECT_EQ(text, "say hi there");
    // A replacement holding the search text is not searched again.
    text = "aXa";
    GUI_Replace(text, "a", "aa");
    EXPECT_EQ(text, "aaXaa");
    text = "abc";
    GUI_Replace(text, "", "z");
    EXPECT_EQ(text, "abc");
    text = "xxxx";
    GUI_Replace(text, "xx", "y");
    EXPECT_EQ(text, "yy");
}

TEST_F(Strings, Format) {
    EXPECT_EQ(GUI_Format("%d stitches, %.1f mm", 1234, 2.54), "1234 stitches, 2.5 mm");
    EXPECT_EQ(GUI_Format("%s", std::string(5000, 'z').c_str()), std::string(5000, 'z'));
    EXPECT_EQ(GUI_Format("%s", ""), "");
    const char* nullFormat = nullptr;
    EXPECT_EQ(GUI_Format(nullFormat), "");
}

TEST_F(Strings, Numbers) {
    struct Case {
        const char* text;
        int integer;
        float real;
    };
    const Case cases[] = {
        {"12abc", 12, 12.f}, {"abc", 0, 0.f},    {"", 0, 0.f},
        {"  -7 ", -7, -7.f}, {"3.75", 3, 3.75f}, {"+5", 5, 5.f},
        {".5", 0, 0.5f},     {"1e2", 1, 100.f},  {"99999999999", 0, 99999999999.f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GUI_ToInt(c.text), c.integer) << c.text;
        EXPECT_FLOAT_EQ(GUI_ToFloat(c.text), c.real) << c.text;
    }
}

TEST_F(Strings, ToLower) {
    EXPECT_EQ(GUI_ToLower("C:/Docs/A.PES"), "c:/docs/a.pes");
    EXPECT_EQ(GUI_ToLower("JPG", "C"), "jpg");
    EXPECT_EQ(GUI_ToLower(thai), thai);  // untouched bytes
    EXPECT_EQ(GUI_ToLower(std::wstring(L"ABC.Pes")), L"abc.pes");
}

TEST_F(Strings, UnknownLocaleFallsBackToClassic) {
    logThreshold = 2;
    CaptureStdout();
    const std::locale loc = GUI_MakeLocale("xx_NOWHERE.nothing");
    const std::string out = GetCapturedStdout();
    EXPECT_EQ(loc.name(), "C");
    EXPECT_EQ(out.rfind("GUI_Utils: Couldn't create locale xx_NOWHERE.nothing using default, ", 0),
              0u)
        << out;
    EXPECT_EQ(GUI_ToLower("ABC", "xx_NOWHERE.other"), "abc");
}

}  // namespace
