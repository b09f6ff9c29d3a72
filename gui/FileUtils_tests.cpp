#include "gui/FileUtils.h"

#include "gui/Log.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <boost/filesystem.hpp>

#include <string>
#include <vector>

namespace fs = boost::filesystem;
using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

// A fresh folder under the system's temporary folder; the working directory, the default
// working directory and the log threshold are put back afterwards.
class FileUtilsTest : public testing::Test {
protected:
    void SetUp() override {
        savedCwd = fs::current_path();
        savedDefault = defaultWorkingDirectory;
        savedThreshold = logThreshold;
        logThreshold = 5;  // quiet unless a test looks at the log
        temp = fs::canonical(fs::temp_directory_path()) /
               fs::unique_path("mes-fileutils-%%%%-%%%%-%%%%");
        fs::create_directories(temp);
    }
    void TearDown() override {
        fs::current_path(savedCwd);
        defaultWorkingDirectory = savedDefault;
        logThreshold = savedThreshold;
        boost::system::error_code ec;
        fs::remove_all(temp, ec);
        if (!dataScratch.empty()) {
            fs::remove_all(dataScratch, ec);
        }
        if (createdDataRoot) {
            fs::remove(jsDataPathRoot(), ec);  // only when still empty
        }
    }

    static void touch(const fs::path& path, const std::string& content = "x") {
        fs::create_directories(path.parent_path());
        fs::ofstream(path, std::ios::binary) << content;
    }

    // Puts the working directory at the executable's folder, as the application does.
    std::string enterExeDir() {
        const std::string exeDir = jsFilePath::getCurrentExeDir();
        fs::current_path(exeDir);
        defaultWorkingDirectory = fs::current_path().string();
        return exeDir;
    }

    // A scratch folder inside the real data folder, removed afterwards.
    std::string makeDataScratch() {
        const std::string name = "guibase-test-" + std::to_string(::getpid());
        createdDataRoot = !fs::exists(jsDataPathRoot());
        dataScratch = jsDataPathRoot() / name;
        fs::create_directories(dataScratch / "sub");
        return name;
    }

    fs::path savedCwd, temp, dataScratch;
    bool createdDataRoot = false;
    std::string savedDefault;
    int savedThreshold = 1;
};

// ---- jsToDataPath ---------------------------------------------------------------------------

TEST_F(FileUtilsTest, DataRootIsBesideTheExecutable) {
    const fs::path exeDir = jsFilePath::getCurrentExeDir();
    EXPECT_EQ(jsDataPathRoot().filename().string(), "data");
    EXPECT_TRUE(fs::equivalent(jsDataPathRoot().parent_path(), exeDir) ||
                jsDataPathRoot().parent_path() == exeDir.parent_path());
    EXPECT_TRUE(jsDataPathRoot().is_absolute());
}

TEST(DataFolder, CandidatesBesideTheExecutableThenTheInstalledShareFolder) {
    struct Case {
        const char* exeDir;
        std::vector<std::string> candidates;
    } cases[] = {
        {"/opt/mes/build/bin/", {"/opt/mes/build/bin/data/", "/opt/mes/build/share/mes/"}},
        {"/usr/bin/", {"/usr/bin/data/", "/usr/share/mes/"}},
        {"/usr/bin", {"/usr/bin/data/", "/usr/share/mes/"}},
        {"/usr/local/bin/./", {"/usr/local/bin/data/", "/usr/local/share/mes/"}},
        {"/", {"/data/"}},  // nothing above the root
        {"", {}},           // the executable's folder is unknown
    };
    for (const Case& c : cases)
        EXPECT_EQ(jsDataFolderCandidates(c.exeDir), c.candidates) << c.exeDir;
}

TEST_F(FileUtilsTest, FindsTheFirstCandidateThatExists) {
    const fs::path bin = temp / "prefix" / "bin";
    const fs::path beside = bin / "data";
    const fs::path installed = temp / "prefix" / "share" / "mes";
    const std::string exeDir = bin.string() + "/";
    fs::create_directories(bin);
    EXPECT_EQ(jsFindDataFolder(exeDir), "");
    fs::create_directories(installed);
    EXPECT_EQ(jsFindDataFolder(exeDir), installed.string() + "/");
    fs::create_directories(beside);
    EXPECT_EQ(jsFindDataFolder(exeDir), beside.string() + "/") << "the build tree's copy wins";
    // A file of that name is not a data folder.
    fs::remove(beside);
    fs::remove(installed);
    touch(installed, "x");
    EXPECT_EQ(jsFindDataFolder(exeDir), "");
}

TEST(DataFolder, MissingMessageNamesTheProgramAndEveryFolderTried) {
    const std::string m = jsMissingDataFolderMessage("mes-cli", "/opt/x/bin/");
    EXPECT_EQ(m.rfind("mes-cli: no data folder found", 0), 0u) << m;
    EXPECT_NE(m.find("/opt/x/bin/data/ and /opt/x/share/mes/"), std::string::npos) << m;
    EXPECT_NE(jsMissingDataFolderMessage("mes", "").find("unknown"), std::string::npos);
}

TEST_F(FileUtilsTest, RelativeFormsFromExecutableFolder) {
    enterExeDir();
    EXPECT_EQ(jsToDataPath("fonts/a.ttf"), "data/fonts/a.ttf");
    EXPECT_EQ(jsToDataPath("data/fonts/a.ttf"), "data/fonts/a.ttf");
    EXPECT_EQ(jsToDataPath("en/Localizable.strings"), "data/en/Localizable.strings");
    // Not a folder name prefix: "database" is not "data/".
    EXPECT_EQ(jsToDataPath("database/x"), "data/database/x");
    const std::string root = jsFilePath::addTrailingSlash(jsDataPathRoot().string());
    EXPECT_EQ(jsToDataPath(root + "fonts/a.ttf"), root + "fonts/a.ttf");
}

TEST_F(FileUtilsTest, RelativeFormFromAnotherWorkingDirectory) {
    fs::current_path(temp);
    defaultWorkingDirectory = temp.string();
    const std::string resolved = jsToDataPath("fonts/a.ttf");
    EXPECT_TRUE(fs::path(resolved).is_relative()) << resolved;
    EXPECT_EQ(fs::absolute(resolved).lexically_normal(),
              (jsDataPathRoot() / "fonts/a.ttf").lexically_normal());
    // Already relative to the data folder from here: kept.
    EXPECT_EQ(jsToDataPath(resolved), resolved);
}

TEST_F(FileUtilsTest, MakeAbsoluteGivesCanonicalPathInsideData) {
    enterExeDir();
    const std::string name = makeDataScratch();
    touch(dataScratch / "sub" / "f.txt");
    const std::string root = jsDataPathRoot().string();

    EXPECT_EQ(jsToDataPath(name + "/sub/../sub/f.txt", true), root + "/" + name + "/sub/f.txt");
    EXPECT_EQ(jsToDataPath("data/" + name + "/sub/f.txt", true), root + "/" + name + "/sub/f.txt");
    // A folder keeps its trailing separator; a missing file still gets an absolute path.
    EXPECT_EQ(jsToDataPath(name + "/sub/", true), root + "/" + name + "/sub/");
    EXPECT_EQ(jsToDataPath(name + "/missing.txt", true), root + "/" + name + "/missing.txt");
    EXPECT_EQ(jsFilePath::getAbsolutePath(name + "/sub/f.txt"), root + "/" + name + "/sub/f.txt");
}

TEST_F(FileUtilsTest, AbsolutePathsAreCanonicalised) {
    fs::create_directories(temp / "a" / "b");
    touch(temp / "a" / "f.txt");
    EXPECT_EQ(jsToDataPath((temp / "a/b/../f.txt").string()), (temp / "a/f.txt").string());
    EXPECT_EQ(jsToDataPath((temp / "a/b/").string()), (temp / "a/b").string() + "/");
    EXPECT_EQ(jsToDataPath((temp / "a/b").string()), (temp / "a/b").string());
    // Cannot be canonicalised: returned as given.
    const std::string missing = (temp / "nope/../x.txt").string();
    EXPECT_EQ(jsToDataPath(missing), missing);
}

TEST_F(FileUtilsTest, WorkingDirectoryIsRestoredBeforeResolving) {
    const std::string exeDir = enterExeDir();
    fs::current_path(temp);  // a file dialog moved it
    EXPECT_EQ(jsToDataPath("fonts/a.ttf"), "data/fonts/a.ttf");
    EXPECT_TRUE(fs::equivalent(fs::current_path(), exeDir));
}

TEST_F(FileUtilsTest, UnrestorableWorkingDirectoryIsLoggedAndResolutionGoesOn) {
    fs::current_path(temp);
    defaultWorkingDirectory = (temp / "gone").string();
    logThreshold = 1;
    CaptureStdout();
    const std::string resolved = jsToDataPath("x.txt");
    const std::string out = GetCapturedStdout();
    EXPECT_NE(out.find("jsToDataPath: error while trying to change back to default working "
                       "directory " +
                       defaultWorkingDirectory + "\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(fs::current_path(), temp);
    EXPECT_EQ(fs::absolute(resolved).lexically_normal(),
              (jsDataPathRoot() / "x.txt").lexically_normal());
}

// ---- jsBuffer ------------------------------------------------------------------------------

TEST(JsBuffer, LinesWithEveryLineEnd) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {std::string("a\nb\0", 4), {"a", "b"}},
        {std::string("a\r\nb\r\n\0", 7), {"a", "b"}},
        {"", {}},
        {std::string("\0", 1), {}},
        {"\n", {""}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\r\nb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {std::string("a\0b", 3), {std::string("a\0b", 3)}},
        {"\xE0\xB8\x81\r\nx", {"\xE0\xB8\x81", "x"}},
    };
    for (const Case& c : cases) {
        jsBuffer buffer(c.bytes);
        EXPECT_EQ(buffer.lines(), c.lines) << testing::PrintToString(c.bytes);
    }
}

TEST(JsBuffer, AppendU16LowByteFirst) {
    jsBuffer buffer;
    buffer.appendU16(0x1234);
    buffer.appendU16(-1);
    buffer.appendU16(0x10080);  // only the low 16 bits
    EXPECT_EQ(buffer.getText(), std::string("\x34\x12\xFF\xFF\x80\x00", 6));
}

TEST(JsBuffer, PascalStringCutsAt255) {
    jsBuffer buffer;
    const std::string longText(300, 'q');
    buffer.appendPascalString(longText.c_str());
    ASSERT_EQ(buffer.size(), 256u);
    EXPECT_EQ(static_cast<unsigned char>(buffer.getData()[0]), 255);
    EXPECT_EQ(buffer.getText().substr(1), std::string(255, 'q'));

    jsBuffer shortOne;
    shortOne.appendPascalString("abc");
    shortOne.appendPascalString("");
    shortOne.appendPascalString(nullptr);
    EXPECT_EQ(shortOne.getText(), std::string("\x03"
                                              "abc\x00\x00",
                                              6));
}

TEST(JsBuffer, SetAppendAndText) {
    jsBuffer buffer;
    EXPECT_EQ(buffer.getText(), "");
    buffer.set("hello", 5);
    buffer.append(std::string(" world"));
    EXPECT_EQ(buffer.getText(), "hello world");
    buffer.set(std::string("x"));
    EXPECT_EQ(buffer.getText(), "x");
}

TEST_F(FileUtilsTest, BufferToFileCreatesFoldersAndRoundTrips) {
    const fs::path target = temp / "new" / "deeper" / "file.bin";
    std::string bytes(
        "a\r\n\0\xFF"
        "z",
        6);
    ASSERT_TRUE(jsBufferToFile(target.string(), jsBuffer(bytes)));
    EXPECT_TRUE(fs::is_directory(temp / "new" / "deeper"));
    EXPECT_EQ(fs::file_size(target), bytes.size());
    EXPECT_EQ(jsBufferFromFile(target.string()).getText(), bytes);

    // A file larger than one read block.
    std::string big(5000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 7);
    }
    ASSERT_TRUE(jsBufferToFile(target.string(), jsBuffer(big)));
    EXPECT_EQ(jsBufferFromFile(target.string()).getText(), big);
}

TEST_F(FileUtilsTest, MissingOrFolderReadsEmpty) {
    EXPECT_TRUE(jsBufferFromFile((temp / "none.txt").string()).empty());
    EXPECT_TRUE(jsBufferFromFile(temp.string()).empty());
    EXPECT_TRUE(jsBufferFromFile("").empty());
}

TEST_F(FileUtilsTest, BufferToFileFailsOnUnwritablePath) {
    touch(temp / "plain");
    // A file where a folder would have to be.
    EXPECT_FALSE(jsBufferToFile((temp / "plain" / "x.txt").string(), jsBuffer("x")));
}

// ---- jsFile --------------------------------------------------------------------------------

TEST_F(FileUtilsTest, FileNameParts) {
    struct Case {
        const char* name;
        const char* extension;
        const char* base;
        bool hidden;
    };
    const Case cases[] = {
        {"a.jpg", "jpg", "a", false},
        {"b.tar.GZ", "GZ", "b.tar", false},
        {"noext", "", "noext", false},
        {".hidden", "", ".hidden", true},
        {".hidden.png", "png", ".hidden", true},
        {"trailing.", "", "trailing", false},
    };
    for (const Case& c : cases) {
        jsFile file((temp / c.name).string(), jsFile::Reference);
        EXPECT_EQ(file.getFileName(), c.name);
        EXPECT_EQ(file.getExtension(), c.extension) << c.name;
        EXPECT_EQ(file.getBaseName(), c.base) << c.name;
        EXPECT_EQ(file.isHidden(), c.hidden) << c.name;
    }
}

TEST_F(FileUtilsTest, OpenModes) {
    const std::string path = (temp / "sub" / "m.txt").string();
    EXPECT_FALSE(jsFile(path, jsFile::ReadOnly).is_open());
    jsFile missing;
    EXPECT_FALSE(missing.open(path, jsFile::ReadOnly));
    EXPECT_FALSE(missing.exists());

    {
        jsFile writer;
        ASSERT_TRUE(writer.open(path, jsFile::WriteOnly));
        writer << "one";
    }
    {
        jsFile appender(path, jsFile::Append);
        ASSERT_TRUE(appender.is_open());
        appender << "two";
    }
    jsFile reader(path, jsFile::ReadOnly);
    EXPECT_TRUE(reader.exists());
    EXPECT_TRUE(reader.isFile());
    EXPECT_EQ(reader.getSize(), 6u);
    EXPECT_EQ(reader.readToBuffer().getText(), "onetwo");

    jsFile reference(path, jsFile::Reference);
    EXPECT_FALSE(reference.is_open());
    EXPECT_TRUE(reference.exists());
    reference.close();
    EXPECT_EQ(reference.path(), "");
    EXPECT_FALSE(reference.exists());

    EXPECT_TRUE(jsFile::doesFileExist(path));
    EXPECT_TRUE(jsFile::doesFileExist(temp.string(), false));
    EXPECT_FALSE(jsFile::doesFileExist((temp / "other").string()));
}

TEST_F(FileUtilsTest, CopyOfWritableFileIsReadOnly) {
    const std::string path = (temp / "w.txt").string();
    jsFile writer(path, jsFile::WriteOnly);
    writer << "data";
    writer.flush();
    logThreshold = 1;
    CaptureStdout();
    jsFile copy(writer);
    EXPECT_EQ(GetCapturedStdout(),
              "sfFile::copyFrom(): copying a writable file, opening new copy as read only\n");
    EXPECT_EQ(copy.getMode(), jsFile::ReadOnly);
    EXPECT_EQ(copy.path(), writer.path());
    EXPECT_EQ(copy.readToBuffer().getText(), "data");

    jsFile reference(path, jsFile::Reference);
    jsFile assigned;
    assigned = reference;
    EXPECT_EQ(assigned.getMode(), jsFile::Reference);
    EXPECT_EQ(assigned.path(), path);
    // Copying from itself keeps the file as it is.
    jsFile& same = assigned;
    assigned = same;
    EXPECT_EQ(assigned.path(), path);
}

// ---- ofDirectory ---------------------------------------------------------------------------

std::vector<std::string> names(const ofDirectory& dir) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < dir.size(); ++i) {
        result.push_back(dir.getName(i));
    }
    return result;
}

TEST_F(FileUtilsTest, ListingFiltersHiddenAndExtensions) {
    for (const char* name : {"b.JPG", "a.jpg", ".hidden", "c.txt"}) {
        touch(temp / name);
    }
    ofDirectory dir;
    dir.allowExt("jpg");
    EXPECT_EQ(dir.listDir(temp.string()), 2u);
    dir.sort();
    EXPECT_EQ(names(dir), (std::vector<std::string>{"a.jpg", "b.JPG"}));
    EXPECT_EQ(dir.getOriginalDirectory(), temp.string() + "/");

    ofDirectory all;
    all.setShowHidden(true);
    EXPECT_EQ(all.listDir(temp.string()), 4u);
    all.sort();
    EXPECT_EQ(names(all), (std::vector<std::string>{".hidden", "a.jpg", "b.JPG", "c.txt"}));

    ofDirectory star;
    star.allowExt("png");
    star.allowExt("*");
    EXPECT_EQ(star.listDir(temp.string()), 3u);

    ofDirectory upper;
    upper.allowExt("TXT");
    EXPECT_EQ(upper.listDir(temp.string()), 1u);
    EXPECT_EQ(upper.getName(0), "c.txt");
}

TEST_F(FileUtilsTest, FoldersPassTheExtensionFilter) {
    touch(temp / "a.png");
    touch(temp / "b.txt");
    fs::create_directories(temp / "folder");
    ofDirectory dir;
    dir.allowExt("png");
    dir.listDir(temp.string());
    dir.sort();
    EXPECT_EQ(names(dir), (std::vector<std::string>{"a.png", "folder"}));
    EXPECT_TRUE(dir.getFile(1).isDirectory());
    EXPECT_EQ(dir.getName(2), "");
    EXPECT_EQ(dir.getPath(99), "");
}

TEST_F(FileUtilsTest, NaturalSortOrder) {
    struct Case {
        std::vector<std::string> files;
        std::vector<std::string> sorted;
    };
    const std::vector<Case> cases = {
        {{"10.jpg", "9.jpg", "x.jpg"}, {"9.jpg", "10.jpg", "x.jpg"}},
        {{"2.jpg", "10.jpg", "1.jpg", "100.jpg"}, {"1.jpg", "2.jpg", "10.jpg", "100.jpg"}},
        {{"b.jpg", "B.jpg", "a.jpg", "A.jpg"}, {"A.jpg", "B.jpg", "a.jpg", "b.jpg"}},
        // 007 is not written as a plain number, so it sorts as text.
        {{"007.jpg", "7.jpg", "10.jpg"}, {"7.jpg", "10.jpg", "007.jpg"}},
        // Text names compare byte by byte, digits included.
        {{"img9.png", "img10.png"}, {"img10.png", "img9.png"}},
        // Numbers stay ahead of text even where the bytes say otherwise.
        {{"1a.jpg", "9.jpg", "10.jpg", "-x.jpg"}, {"9.jpg", "10.jpg", "-x.jpg", "1a.jpg"}},
        {{"-3.jpg", "2.jpg"}, {"-3.jpg", "2.jpg"}},
    };
    int round = 0;
    for (const Case& c : cases) {
        const fs::path folder = temp / std::to_string(round++);
        for (const std::string& name : c.files) {
            touch(folder / name);
        }
        ofDirectory dir(folder.string());
        dir.sort();  // lists first
        EXPECT_EQ(names(dir), c.sorted);
    }
}

TEST_F(FileUtilsTest, ListingAMissingOrUnsetFolderReportsAnError) {
    logThreshold = 1;
    ofDirectory missing;
    CaptureStderr();
    EXPECT_EQ(missing.listDir((temp / "absent").string()), 0u);
    std::string err = GetCapturedStderr();
    EXPECT_NE(err.find("ofDirectory: listDir:() source directory does not exist: \""),
              std::string::npos)
        << err;

    ofDirectory unset;
    CaptureStderr();
    EXPECT_EQ(unset.listDir(), 0u);
    EXPECT_EQ(GetCapturedStderr(), "ofDirectory: listDir(): directory path is empty\n");

    // A file is not listed as a folder.
    touch(temp / "file.txt");
    ofDirectory notAFolder;
    EXPECT_EQ(notAFolder.listDir((temp / "file.txt").string()), 0u);
}

TEST_F(FileUtilsTest, RelistingReplacesEntries) {
    touch(temp / "a.txt");
    ofDirectory dir(temp.string());
    EXPECT_EQ(dir.listDir(), 1u);
    touch(temp / "b.txt");
    EXPECT_EQ(dir.listDir(), 2u);
}

TEST_F(FileUtilsTest, ListingInsideTheDataFolder) {
    enterExeDir();
    const std::string name = makeDataScratch();
    touch(dataScratch / "2.png");
    touch(dataScratch / "1.png");
    ofDirectory dir(name);
    dir.sort();
    EXPECT_EQ(names(dir), (std::vector<std::string>{"1.png", "2.png", "sub"}));
    EXPECT_EQ(dir.getPath(0), "data/" + name + "/1.png");
}

TEST_F(FileUtilsTest, CreateAndQueryDirectories) {
    const std::string nested = (temp / "x" / "y" / "z").string();
    EXPECT_FALSE(ofDirectory::doesDirectoryExist(nested));
    EXPECT_TRUE(ofDirectory::createDirectory(nested));
    EXPECT_TRUE(ofDirectory::doesDirectoryExist(nested));
    EXPECT_TRUE(ofDirectory::createDirectory(nested));  // already there
    touch(temp / "plain");
    EXPECT_FALSE(ofDirectory::doesDirectoryExist((temp / "plain").string()));
    EXPECT_FALSE(ofDirectory::createDirectory((temp / "plain" / "sub").string()));
}

// ---- jsFilePath ----------------------------------------------------------------------------

TEST(JsFilePath, TrailingSlashAndEnclosingDirectory) {
    EXPECT_EQ(jsFilePath::addTrailingSlash(""), "");
    EXPECT_EQ(jsFilePath::addTrailingSlash("a"), "a/");
    EXPECT_EQ(jsFilePath::addTrailingSlash("a/"), "a/");
    EXPECT_EQ(jsFilePath::getPathForDirectory("/x/y"), "/x/y/");

    EXPECT_EQ(jsFilePath::getEnclosingDirectory("a/b/c.txt", false), "a/b/");
    EXPECT_EQ(jsFilePath::getEnclosingDirectory("a/b/", false), "a/");
    EXPECT_EQ(jsFilePath::getEnclosingDirectory("c.txt", false), "");
    EXPECT_EQ(jsFilePath::getEnclosingDirectory("/c.txt", false), "/");
    EXPECT_EQ(jsFilePath::getEnclosingDirectory("C:\\docs\\a.pes", false), "C:\\docs/");

    EXPECT_EQ(jsFilePath::getFileName("a/b/c.txt"), "c.txt");
    EXPECT_EQ(jsFilePath::getFileName("C:\\docs\\a.pes"), "a.pes");
    EXPECT_EQ(jsFilePath::join("a/b", "c.txt"), "a/b/c.txt");
}

TEST(JsFilePath, MakeRelative) {
    struct Case {
        const char* from;
        const char* to;
        const char* relative;
    };
    const Case cases[] = {
        {"/x/y", "/x/y/data", "data"},
        {"/x/y/", "/x/y/data/", "data"},
        {"/x/y/z", "/x/data", "../../data"},
        {"/x/y", "/x/y", ""},
        {"/x/./y", "/x/y/d", "d"},
        {"/x/y/..", "/x/y", "y"},
        {"/a", "/b/c", "../b/c"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(jsFilePath::makeRelative(c.from, c.to), c.relative) << c.from << " -> " << c.to;
    }
}

TEST(JsFilePath, ExecutableAndWorkingDirectory) {
    const std::string exe = jsFilePath::getCurrentExePath();
    EXPECT_EQ(fs::path(exe).filename().string(), "gui_tests");
    EXPECT_EQ(jsFilePath::getCurrentExeDir(), fs::path(exe).parent_path().string() + "/");
    EXPECT_EQ(jsFilePath::getCurrentWorkingDirectory(), fs::current_path().string());
}

TEST_F(FileUtilsTest, CreateEnclosingDirectory) {
    const std::string file = (temp / "p" / "q" / "f.txt").string();
    EXPECT_TRUE(jsFilePath::createEnclosingDirectory(file));
    EXPECT_TRUE(fs::is_directory(temp / "p" / "q"));
    EXPECT_FALSE(fs::exists(file));
}

// ---- Local address -------------------------------------------------------------------------

bool isDottedIPv4(const std::string& text) {
    in_addr address{};
    return ::inet_pton(AF_INET, text.c_str(), &address) == 1;
}

TEST(LocalAddress, IsADottedIPv4Address) {
    const std::string address = GUI_GetLocalIPAddress();
    EXPECT_TRUE(isDottedIPv4(address)) << address;
}

TEST(LocalAddress, NoRouteGivesTheUnspecifiedAddress) {
    int saved = logThreshold;
    logThreshold = 1;
    CaptureStdout();
    // Linux refuses to connect a datagram socket to the broadcast address without
    // SO_BROADCAST, which stands for a computer with no route at all.
    EXPECT_EQ(GUI_GetLocalIPAddressToward("255.255.255.255"), "0.0.0.0");
    EXPECT_EQ(GUI_GetLocalIPAddressToward("not an address"), "0.0.0.0");
    EXPECT_EQ(GetCapturedStdout(), "Return 0.0.0.0\nReturn 0.0.0.0\n");
    logThreshold = saved;
}

TEST(LocalAddress, LoopbackRouteGivesLoopbackAddress) {
    EXPECT_EQ(GUI_GetLocalIPAddressToward("127.0.0.1"), "127.0.0.1");
}

}  // namespace
