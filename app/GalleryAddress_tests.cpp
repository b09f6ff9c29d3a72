// Which gallery address the editor uses: the option, the file in the preferences folder, the local
// server.

#include "app/GalleryAddress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Platform.h"
#include "net/GalleryUrl.h"

namespace {

TEST(GalleryAddress, OptionThenFileThenTheLocalServer) {
    const std::string local = gallery::kLocalServerUrl;
    const std::string option = "http://10.0.0.5:8000/designs";
    const std::string badOption = "https://secure.example/designs";
    struct Case {
        const std::string* option;
        std::string file;
        std::string chosen;
        size_t warnings;
    } cases[] = {
        {nullptr, "", local, 0},
        {&option, "http://file.example/g\n", option, 0},
        {nullptr, "http://file.example/g\n", "http://file.example/g", 0},
        // Comments, blank lines, spaces, Windows line ends and a byte order mark are skipped.
        {nullptr, "\xEF\xBB\xBF# our shop\r\n\r\n   http://shop.example:81/mes  \r\n",
         "http://shop.example:81/mes", 0},
        {nullptr, "shop.example/mes\n", "shop.example/mes", 0},
        // An option that cannot be used falls back to the file, then to the local server.
        {&badOption, "http://file.example/g", "http://file.example/g", 1},
        {&badOption, "", local, 1},
        {nullptr, "ftp://x/y\nhttp://second.example\n", local, 1},
        {nullptr, "http://h:99999/\n", local, 1},
    };
    for (const Case& c : cases) {
        std::vector<std::string> warnings;
        EXPECT_EQ(chooseGalleryAddress(c.option, c.file, warnings), c.chosen) << c.file;
        EXPECT_EQ(warnings.size(), c.warnings) << c.file;
    }
}

TEST(GalleryAddress, TheEditorTakesTheGalleryOption) {
    const CommandLine cl = parseCommandLine(
        {"/opt/mes/mes", "--gallery", "http://10.0.0.5:8000/d", "/home/u/a.mpes"}, "/home/u");
    ASSERT_EQ(cl.options.count("gallery"), 1u);
    EXPECT_EQ(cl.options.at("gallery"), "http://10.0.0.5:8000/d");
    EXPECT_TRUE(cl.unknownOptions.empty());
    EXPECT_EQ(cl.currentOpenFile, "/home/u/a.mpes");
    const CommandLine inlineValue = parseCommandLine({"mes", "--gallery=http://h/"}, "/");
    EXPECT_EQ(inlineValue.options.at("gallery"), "http://h/");
}

}  // namespace
