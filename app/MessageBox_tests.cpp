// The message-box helper's command line for the two-button question.

#include "app/MessageBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(MessageBoxes, TheHelpersCommandLineForAQuestion) {
    EXPECT_EQ(messageBoxCommand("/opt/mes/mes-file-dialog", MessageKind::Warning, "ส่งไปยังไม้",
                                "เขียนทับไหม", "เขียนทับ", "0x400007", "ยกเลิก"),
              (std::vector<std::string>{"/opt/mes/mes-file-dialog", "question", "--title",
                                        "ส่งไปยังไม้", "--text", "เขียนทับไหม", "--accept", "เขียนทับ",
                                        "--cancel", "ยกเลิก", "--parent", "0x400007"}));
    // Without a parent window the line ends with the cancelling label; the kind is not passed.
    EXPECT_EQ(messageBoxCommand("h", MessageKind::Error, "t", "x", "Yes", "", "No"),
              (std::vector<std::string>{"h", "question", "--title", "t", "--text", "x", "--accept",
                                        "Yes", "--cancel", "No"}));
    // Without a cancelling label it stays a one-button box.
    EXPECT_EQ(messageBoxCommand("h", MessageKind::Warning, "t", "x", "OK", "")[1], "warning");
}

}  // namespace
