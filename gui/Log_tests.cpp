#include "gui/Log.h"

#include <gtest/gtest.h>

#include <string>

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

// Restores the global threshold whatever a test sets it to.
class LogTest : public testing::Test {
protected:
    void SetUp() override { saved = logThreshold; }
    void TearDown() override { logThreshold = saved; }

    // Runs f with both streams captured; returns {stdout, stderr}.
    template <class F>
    std::pair<std::string, std::string> capture(F f) {
        CaptureStdout();
        CaptureStderr();
        f();
        std::string err = GetCapturedStderr();
        std::string out = GetCapturedStdout();
        return {out, err};
    }

    int saved = 1;
};

TEST_F(LogTest, ThresholdStartsAtNotice) {
    EXPECT_EQ(saved, 1);
}

TEST_F(LogTest, StreamFormWritesModuleTextAndLineEnd) {
    logThreshold = 1;
    auto [out, err] = capture([] { GUI_LogNotice("System RAM") << 8192 << " MB."; });
    EXPECT_EQ(out, "System RAM: 8192 MB.\n");
    EXPECT_EQ(err, "");
}

TEST_F(LogTest, EmptyModuleWritesOnlyTheText) {
    logThreshold = 0;
    auto [out, err] = capture([] {
        GUI_LogNotice("") << "repair";
        GUI_LogVerbose() << "a" << 1.5;
    });
    EXPECT_EQ(out, "repair\na1.5\n");
    EXPECT_EQ(err, "");
}

TEST_F(LogTest, ThresholdTwoDropsNoticesSplitsStreams) {
    logThreshold = 2;
    auto [out, err] = capture([] {
        GUI_LogVerbose("v") << "verbose";
        GUI_LogNotice("n") << "notice";
        GUI_LogWarning("w") << "warning";
        GUI_LogError("e") << "error";
        GUI_LogNotice("n", "printf %i", 1);
        GUI_LogError("e", "printf %s", "two");
    });
    EXPECT_EQ(out, "w: warning\n");
    EXPECT_EQ(err, "e: error\ne: printf two\n");
}

TEST_F(LogTest, ThresholdFiveSilencesAllButPrint) {
    logThreshold = 5;
    auto [out, err] = capture([] {
        GUI_LogVerbose("v") << "x";
        GUI_LogNotice("n") << "x";
        GUI_LogWarning("w") << "x";
        GUI_LogError("e") << "x";
        GUI_LogVerbose("v", "%d", 1);
        GUI_LogNotice("n", "%d", 2);
        GUI_LogError("e", "%d", 3);
        GUI_LogPrint("Scale: %i\n", 2);
        GUI_Print("always %s", "here");
    });
    EXPECT_EQ(out, "always here");
    EXPECT_EQ(err, "");
}

TEST_F(LogTest, LogPrintOnlyAtNoticeOrBelow) {
    for (int threshold : {0, 1, 2, 3}) {
        logThreshold = threshold;
        auto [out, err] = capture([] { GUI_LogPrint("Scale: %i\n", 2); });
        EXPECT_EQ(out, threshold <= 1 ? "Scale: 2\n" : "") << "threshold " << threshold;
        EXPECT_EQ(err, "");
    }
}

TEST_F(LogTest, PrintfFormWritesAtConstructionOnce) {
    logThreshold = 0;
    auto [out, err] = capture([] {
        GUI_LogNotice log("mod", "value %d", 7);
        // Already written before the destructor runs; streaming more text must not add a line.
        EXPECT_EQ(GetCapturedStdout(), "mod: value 7\n");
        CaptureStdout();
        log << "ignored";
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
}

TEST_F(LogTest, FilteredPrintfNoticeIsNotWrittenLater) {
    logThreshold = 2;
    auto [out, err] = capture([] {
        GUI_LogNotice log("mod", "filtered %d", 1);
        logThreshold = 0;  // the destructor now would pass, but the line was already handled
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
}

TEST_F(LogTest, PrintfFormWithEmptyModule) {
    logThreshold = 0;
    auto [out, err] = capture([] {
        GUI_LogVerbose("", "plain %s", "text");
        GUI_LogError("", "oops");
    });
    EXPECT_EQ(out, "plain text\n");
    EXPECT_EQ(err, "oops\n");
}

}  // namespace
