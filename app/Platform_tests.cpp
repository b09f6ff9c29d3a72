// Command-line handling, path splitting and the working directory.

#include "app/Platform.h"

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include <string>
#include <vector>

namespace fs = boost::filesystem;

namespace {

TEST(PlatformPaths, DirectoryPartCutsAtTheLastSeparatorOfEitherKind) {
    const std::pair<std::string, std::string> cases[] = {
        {"/usr/local/bin/mes", "/usr/local/bin"},
        {"D:\\x\\Y.MPES", "D:\\x"},
        {"C:\\Program Files/MES\\mes.exe", "C:\\Program Files/MES"},
        {"a/b\\c/d", "a/b\\c"},
        {"mes", "mes"},  // no separator: the whole path
        {"/mes", ""},
        {"", ""},
        {"folder/", "folder"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pathBeforeLastSeparator(c.first), c.second) << c.first;
}

TEST(PlatformPaths, TrailingSlashIsAddedOnce) {
    EXPECT_EQ(withTrailingSlash("/home/u/.local/share/MivoShop/MivoEMB"),
              "/home/u/.local/share/MivoShop/MivoEMB/");
    EXPECT_EQ(withTrailingSlash("/prefs/"), "/prefs/");
    EXPECT_EQ(withTrailingSlash(""), "");
}

TEST(PlatformPaths, LowerCasingLeavesUtf8Alone) {
    EXPECT_EQ(asciiLower("D:\\X\\Ünï.MPES"), "d:\\x\\Ünï.mpes");
}

TEST(CommandLine, DocumentKindIgnoresCase) {
    const std::pair<std::string, DocumentKind> cases[] = {
        {"D:\\x\\Y.MPES", DocumentKind::Project},
        {"/home/u/a.mpes", DocumentKind::Project},
        {"/home/u/a.MpEs", DocumentKind::Project},
        {"/home/u/flower.pes", DocumentKind::PesDesign},
        {"/home/u/FLOWER.PES", DocumentKind::PesDesign},
        {"/home/u/notes.txt", DocumentKind::None},
        {"/home/u/a.mpes.bak", DocumentKind::None},
        {"pes", DocumentKind::None},
        {".pes", DocumentKind::PesDesign},
        {"", DocumentKind::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(documentKind(c.first), c.second) << c.first;
}

TEST(CommandLine, NoArgumentsSetNothing) {
    for (const auto& args :
         {std::vector<std::string>{}, std::vector<std::string>{"/opt/mes/mes"}}) {
        const CommandLine cl = parseCommandLine(args, "/home/u");
        EXPECT_EQ(cl.currentOpenFile, "");
        EXPECT_EQ(cl.currentOpenPath, "");
        EXPECT_EQ(cl.workingDirectory, "");
    }
}

TEST(CommandLine, AProjectArgumentMovesToTheProgramsFolder) {
    const CommandLine cl = parseCommandLine({"/opt/mes/bin/mes", "D:\\x\\Y.MPES"}, "/home/u");
    EXPECT_EQ(cl.workingDirectory, "/opt/mes/bin");
    EXPECT_EQ(cl.currentOpenFile, "D:\\x\\Y.MPES");
    EXPECT_EQ(cl.currentOpenPath, "D:\\x");
}

TEST(CommandLine, ABareProgramNameLeavesTheWorkingDirectory) {
    const CommandLine cl = parseCommandLine({"mes", "/home/u/designs/rose.pes"}, "/home/u");
    EXPECT_EQ(cl.workingDirectory, "");
    EXPECT_EQ(cl.currentOpenFile, "/home/u/designs/rose.pes");
    EXPECT_EQ(cl.currentOpenPath, "/home/u/designs");
}

TEST(CommandLine, ARelativeDocumentIsTakenFromTheStartingFolder) {
    const CommandLine cl =
        parseCommandLine({"build/bin/mes", "designs/a.mpes", "ignored.pes"}, "/home/u/work");
    EXPECT_EQ(cl.workingDirectory, "build/bin");
    EXPECT_EQ(cl.currentOpenFile, "/home/u/work/designs/a.mpes");
    EXPECT_EQ(cl.currentOpenPath, "/home/u/work/designs");
}

TEST(CommandLine, AProgramInTheRootFolder) {
    const CommandLine cl = parseCommandLine({"/mes", "/a.txt"}, "/");
    EXPECT_EQ(cl.workingDirectory, "/");
    EXPECT_EQ(cl.currentOpenFile, "/a.txt");
    EXPECT_EQ(cl.currentOpenPath, "");
}

TEST(CommandLine, OptionsAreTakenOutWhereverTheyStand) {
    const CommandLine cl = parseCommandLine(
        {"/opt/mes/mes", "--exit-after-first-frame", "/d/a.mpes", "--frobnicate", "x.pes"}, "/");
    EXPECT_EQ(cl.currentOpenFile, "/d/a.mpes");
    ASSERT_EQ(cl.options.count("exit-after-first-frame"), 1u);
    EXPECT_EQ(cl.options.at("exit-after-first-frame"), "");
    ASSERT_EQ(cl.unknownOptions.size(), 1u);
    EXPECT_EQ(cl.unknownOptions[0], "--frobnicate");

    // Options alone name no document and move nowhere.
    const CommandLine alone = parseCommandLine({"/opt/mes/mes", "--exit-after-first-frame"}, "/");
    EXPECT_EQ(alone.currentOpenFile, "");
    EXPECT_EQ(alone.workingDirectory, "");
    EXPECT_EQ(alone.options.size(), 1u);
}

TEST(CommandLine, HelpAndVersionAreAnsweredWithoutStarting) {
    for (const char* asked : {"--help", "-h"}) {
        const CommandLine cl = parseCommandLine({"mes", asked}, "/");
        EXPECT_EQ(cl.options.count("help"), 1u) << asked;
        EXPECT_TRUE(cl.unknownOptions.empty()) << asked;
        EXPECT_EQ(cl.currentOpenFile, "") << asked;
        EXPECT_EQ(commandLineReply(cl), commandLineHelp()) << asked;
    }
    const CommandLine version = parseCommandLine({"mes", "--version"}, "/");
    EXPECT_EQ(commandLineReply(version), std::string("mes ") + kEditorVersion + "\n");
    EXPECT_EQ(commandLineReply(version), "mes 1.00.50\n");
    // Help wins over the version; a document or an unknown option alone starts the editor.
    EXPECT_EQ(commandLineReply(parseCommandLine({"mes", "--version", "-h"}, "/")),
              commandLineHelp());
    EXPECT_EQ(commandLineReply(parseCommandLine({"mes", "a.mpes"}, "/")), "");
    const CommandLine unknown = parseCommandLine({"mes", "--frobnicate"}, "/");
    EXPECT_EQ(commandLineReply(unknown), "");
    EXPECT_EQ(unknown.unknownOptions.size(), 1u);
}

TEST(CommandLine, HelpHasTheUsageLineAndOneLinePerOption) {
    const std::string help = commandLineHelp();
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = help.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(help.substr(start, end - start));
    EXPECT_EQ(start, help.size());  // ends with a line break
    ASSERT_EQ(lines.size(), commandLineOptions().size() + 1);
    EXPECT_EQ(lines[0], "Usage: mes [OPTION]... [FILE]");
    for (size_t i = 0; i < commandLineOptions().size(); ++i) {
        const CommandLineOption& o = commandLineOptions()[i];
        EXPECT_EQ(lines[i + 1].rfind(std::string("  --") + o.name, 0), 0u) << lines[i + 1];
        EXPECT_NE(lines[i + 1].find(o.help), std::string::npos) << lines[i + 1];
    }
    EXPECT_NE(help.find("  --stick HOST[:PORT]  talk to the MivoStick"), std::string::npos);
    EXPECT_NE(help.find("  --exit-after-first-frame  quit as soon"), std::string::npos);
}

TEST(WorkingDirectory, ChangesAndReportsFailure) {
    const std::string before = currentDirectory();
    ASSERT_FALSE(before.empty());
    const fs::path dir = fs::canonical(fs::temp_directory_path()) / fs::unique_path("mes-cwd-%%%%");
    fs::create_directories(dir);
    EXPECT_TRUE(setCurrentDirectory(dir.string()));
    EXPECT_EQ(currentDirectory(), dir.string());
    EXPECT_FALSE(setCurrentDirectory((dir / "missing").string()));
    EXPECT_EQ(currentDirectory(), dir.string());  // a failure leaves it alone
    EXPECT_FALSE(setCurrentDirectory(""));
    ASSERT_TRUE(setCurrentDirectory(before));
    fs::remove_all(dir);
}

}  // namespace
