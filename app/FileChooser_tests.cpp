// The file choosers: patterns, the command lines of the desktop's dialog programs, a dialog
// program run beside the main loop, and the toolkit's own dialog driven with made-up events.

#include "app/FileChooser.h"

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include <chrono>
#include <thread>

#include "app/ChildProcess.h"
#include "app/ShellTestFixture.h"
#include "app/SystemFileChooser.h"
#include "app/ToolkitFileDialog.h"

namespace fs = boost::filesystem;

namespace {

TEST(FilePattern, MatchesIgnoringCase) {
    struct Case {
        const char* name;
        const char* pattern;
        bool match;
    } cases[] = {
        {"Design.MPES", "*.mpes", true},
        {"design.mpes", "*.mpes", true},
        {"design.mpes.bak", "*.mpes", false},
        {"ลาย.pes", "*.pes", true},
        {"ลาย.PeS", "*.pes", true},
        {"rose.pes", "*.mpes", false},
        {"README", "*.*", true},  // every file, with or without a dot
        {"a.b", "*", true},
        {"x.pes", "?.pes", true},
        {"xy.pes", "?.pes", false},
        {"", "*.pes", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchesFilePattern(c.name, c.pattern), c.match) << c.name << " " << c.pattern;
    // A long name against a pattern with many stars stays quick (no exponential backtracking).
    EXPECT_FALSE(matchesFilePattern(std::string(5000, 'a'), "*a*a*a*a*a*a*a*b"));
}

FileRequest saveRequest() {
    FileRequest r;
    r.mode = FileRequest::Save;
    r.title = "บันทึก...";
    r.filters = {{"PES Project Files (*.mpes)", "*.mpes"}, {"All Files (*.*)", "*.*"}};
    r.confirmOverwrite = true;
    r.initialPath = "/home/ผู้ใช้/งาน/Untitled.mpes";
    r.initialFolder = "/home/ผู้ใช้/งาน";
    r.acceptLabel = "Save";
    r.cancelLabel = "Cancel";
    return r;
}

TEST(DialogPrograms, CommandLines) {
    EXPECT_EQ(caseInsensitiveGlob("*.mpes"), "*.[mM][pP][eE][sS]");
    EXPECT_EQ(caseInsensitiveGlob("*.*"), "*");

    const std::vector<std::string> helper =
        helperCommand("/opt/mes/mes-file-dialog", saveRequest(), "0x2a00007");
    const std::vector<std::string> expected = {"/opt/mes/mes-file-dialog",
                                               "save",
                                               "--title",
                                               "บันทึก...",
                                               "--filter",
                                               "PES Project Files (*.mpes)",
                                               "*.[mM][pP][eE][sS]",
                                               "--filter",
                                               "All Files (*.*)",
                                               "*",
                                               "--file",
                                               "/home/ผู้ใช้/งาน/Untitled.mpes",
                                               "--folder",
                                               "/home/ผู้ใช้/งาน",
                                               "--confirm-overwrite",
                                               "--accept",
                                               "Save",
                                               "--cancel",
                                               "Cancel",
                                               "--parent",
                                               "0x2a00007"};
    EXPECT_EQ(helper, expected);

    const std::vector<std::string> zenity = zenityCommand(saveRequest());
    EXPECT_EQ(zenity, (std::vector<std::string>{
                          "zenity", "--file-selection", "--modal", "--title=บันทึก...", "--save",
                          "--confirm-overwrite", "--filename=/home/ผู้ใช้/งาน/Untitled.mpes",
                          "--file-filter=PES Project Files (*.mpes) | *.[mM][pP][eE][sS]",
                          "--file-filter=All Files (*.*) | *"}));

    FileRequest open = saveRequest();
    open.mode = FileRequest::Open;
    open.initialPath.clear();
    open.confirmOverwrite = false;
    open.fileMustExist = true;
    const std::vector<std::string> kd = kdialogCommand(open, "0x2a00007");
    EXPECT_EQ(kd, (std::vector<std::string>{
                      "kdialog", "--title", "บันทึก...", "--attach", "44040199", "--getopenfilename",
                      "/home/ผู้ใช้/งาน", "*.mpes|PES Project Files (*.mpes)\n*|All Files (*.*)"}));
    EXPECT_EQ(zenityCommand(open)[4], "--filename=/home/ผู้ใช้/งาน/");
}

TEST(DialogPrograms, ExitStatusAndOutput) {
    EXPECT_EQ(dialogExit(0, "/tmp/a b.mpes\n", ""), DialogExit::Chosen);
    EXPECT_EQ(chosenPathFromOutput("/tmp/a b.mpes\n"), "/tmp/a b.mpes");
    EXPECT_EQ(chosenPathFromOutput("/tmp/x\r\n"), "/tmp/x");
    EXPECT_EQ(dialogExit(0, "", ""), DialogExit::Cancelled);
    EXPECT_EQ(dialogExit(1, "", "Gtk-Message: mapped without a transient parent"),
              DialogExit::Cancelled);
    EXPECT_EQ(dialogExit(1, "", "(zenity): Gtk-WARNING: cannot open display: :9"),
              DialogExit::CannotShow);
    EXPECT_EQ(dialogExit(3, "", ""), DialogExit::CannotShow);
    EXPECT_EQ(dialogExit(255, "", ""), DialogExit::CannotShow);
    EXPECT_EQ(dialogExit(-1, "", ""), DialogExit::CannotShow);
}

bool waitFor(ChildProcess& child) {
    for (int i = 0; i < 500; ++i) {
        if (child.poll())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(ChildProcessRun, CollectsOutputAndStatus) {
    ChildProcess child;
    ASSERT_TRUE(child.start({"sh", "-c", "printf 'ทดสอบ/ok\\n'; echo err >&2; exit 7"}));
    ASSERT_TRUE(waitFor(child));
    EXPECT_EQ(child.exitStatus(), 7);
    EXPECT_EQ(child.output(), "ทดสอบ/ok\n");
    EXPECT_EQ(child.errors(), "err\n");

    ChildProcess missing;
    EXPECT_FALSE(missing.start({"/no/such/program-of-mes"}));
    EXPECT_TRUE(programExists("sh"));
    EXPECT_FALSE(programExists("no-such-program-of-mes"));

    // A program still running when its owner goes is ended.
    auto slow = std::make_unique<ChildProcess>();
    ASSERT_TRUE(slow->start({"sleep", "30"}));
    const auto start = std::chrono::steady_clock::now();
    slow.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

// ---- the system chooser with stand-in dialog programs ----

class SystemChooser : public ShellFixture {
protected:
    // A stand-in for the GTK helper: a script that records its arguments and answers.
    std::string script(const std::string& name, const std::string& body) {
        const std::string p = path(name);
        std::ofstream(p) << "#!/bin/sh\n" << body << "\n";
        fs::permissions(p, fs::owner_all);
        return p;
    }
    void pumpUntil(const bool& flag) {
        for (int i = 0; i < 500 && !flag; ++i) {
            GUI_PumpHeartbeats();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    void TearDown() override {
        for (GUI_Heartbeat* hb : GUI_heartbeats)
            delete hb;
        GUI_heartbeats.clear();
        ShellFixture::TearDown();
    }
};

TEST_F(SystemChooser, TheHelpersAnswerArrivesWhileTheLoopRuns) {
    SystemFileChooser chooser;
    chooser.nativeDialogs = true;
    chooser.desktopPrograms = false;
    chooser.helperPath = script(
        "helper", "echo \"$@\" > " + path("args") + "; printf '%s\\n' '" + path("งาน.mpes") + "'");
    bool done = false;
    std::optional<std::string> chosen;
    chooser.choose(saveRequest(), [&](const std::optional<std::string>& p) {
        done = true;
        chosen = p;
    });
    EXPECT_FALSE(done);  // the answer comes from the main loop's heartbeat
    pumpUntil(done);
    ASSERT_TRUE(done);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, path("งาน.mpes"));
    EXPECT_NE(readFile(path("args")).size(), 0u);
}

TEST_F(SystemChooser, CancelInTheHelperIsCancel) {
    SystemFileChooser chooser;
    chooser.nativeDialogs = true;
    chooser.desktopPrograms = false;
    chooser.helperPath = script("helper", "exit 1");
    bool done = false;
    std::optional<std::string> chosen = std::string("x");
    chooser.choose(saveRequest(), [&](const std::optional<std::string>& p) {
        done = true;
        chosen = p;
    });
    pumpUntil(done);
    ASSERT_TRUE(done);
    EXPECT_FALSE(chosen.has_value());
    EXPECT_EQ(GUI_modalView, nullptr);
}

TEST_F(SystemChooser, AHelperThatCannotShowADialogGivesWayToOurOwn) {
    SystemFileChooser chooser;
    chooser.nativeDialogs = true;
    chooser.desktopPrograms = false;
    chooser.helperPath = script("helper", "echo 'cannot open display' >&2; exit 3");
    bool done = false;
    chooser.choose(saveRequest(), [&](const std::optional<std::string>&) { done = true; });
    for (int i = 0; i < 300 && GUI_modalView == nullptr; ++i) {
        GUI_PumpHeartbeats();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    auto* dialog = dynamic_cast<ToolkitFileDialog*>(GUI_modalView);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(done);
    dialog->cancel();
    EXPECT_TRUE(done);
}

TEST_F(SystemChooser, WithoutADisplayOurOwnDialogIsUsed) {
    SystemFileChooser chooser;  // SDL's dummy driver: no native dialogs
    chooser.helperPath = script("helper", "exit 0");
    chooser.choose(saveRequest(), [](const std::optional<std::string>&) {});
    EXPECT_NE(dynamic_cast<ToolkitFileDialog*>(GUI_modalView), nullptr);
    EXPECT_TRUE(GUI_heartbeats.empty());
}

// ---- the toolkit's own dialog ----

TEST(TypedPaths, ResolveAgainstTheFolder) {
    setenv("HOME", "/home/u", 1);
    EXPECT_EQ(resolveTypedPath("/a/b", "c.mpes"), "/a/b/c.mpes");
    EXPECT_EQ(resolveTypedPath("/a/b", "/x/y.mpes"), "/x/y.mpes");
    EXPECT_EQ(resolveTypedPath("/a/b", "../c"), "/a/c");
    EXPECT_EQ(resolveTypedPath("/a/b", "./d/./e"), "/a/b/d/e");
    EXPECT_EQ(resolveTypedPath("/", "../../x"), "/x");
    EXPECT_EQ(resolveTypedPath("/a", "~/งาน.mpes"), "/home/u/งาน.mpes");
    EXPECT_EQ(resolveTypedPath("/a", "//x//y/"), "/x/y");
}

class OwnDialog : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        useEditorSizedRoot();
        fs::create_directories(temp / "งานปัก");
        fs::create_directories(temp / "Zeta");
        fs::create_directories(temp / ".hidden");
        for (const char* name : {"Design.MPES", "b.mpes", "ลายไทย.mpes", "rose.pes", "notes.txt",
                                 ".secret.mpes", "---"})
            writeFile(path(name), {1, 2, 3});
        writeFile((temp / "งานปัก" / "ข้างใน.mpes").string(), {1});
    }
    ToolkitFileDialog* open(const FileRequest& r) {
        openToolkitFileDialog(r, [this](const std::optional<std::string>& p) {
            answered = true;
            answer = p;
        });
        return dynamic_cast<ToolkitFileDialog*>(GUI_modalView);
    }
    FileRequest openRequest() {
        FileRequest r;
        r.title = "Open...";
        r.filters = {{"PES Project Files (*.mpes)", "*.mpes"}, {"All Files (*.*)", "*.*"}};
        r.fileMustExist = true;
        r.initialFolder = folder();
        return r;
    }
    void type(ToolkitFileDialog* d, const std::string& text) {
        d->nameField->set_text(text);
        key(SDL_SCANCODE_RETURN);
    }
    bool answered = false;
    std::optional<std::string> answer;
};

TEST_F(OwnDialog, ListsFoldersThenMatchingFilesAndHidesHiddenOnes) {
    ToolkitFileDialog* d = open(openRequest());
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(GUI_closeModalOnOutsideClick);
    EXPECT_EQ(d->folder(), folder());
    EXPECT_EQ(d->rows(), (std::vector<std::string>{"../", "Zeta/", "งานปัก/", "b.mpes",
                                                   "Design.MPES", "ลายไทย.mpes"}));
    // The second filter lets every file through.
    d->filterDropdown->select(1, true);
    EXPECT_EQ(d->rows(),
              (std::vector<std::string>{"../", "Zeta/", "งานปัก/", "---", "b.mpes", "Design.MPES",
                                        "notes.txt", "rose.pes", "ลายไทย.mpes"}));
    EXPECT_EQ(d->listing->getCount(), 9);
    EXPECT_FALSE(d->listing->getCell(3)->separator);  // a file named "---" is not a separator
}

TEST_F(OwnDialog, ClicksEnterFoldersAndTakeFiles) {
    ToolkitFileDialog* d = open(openRequest());
    d->listing->selectIndex(2);  // งานปัก/
    EXPECT_EQ(d->folder(), (temp / "งานปัก").string());
    EXPECT_EQ(d->rows(), (std::vector<std::string>{"../", "ข้างใน.mpes"}));
    d->listing->selectIndex(0);  // up again
    EXPECT_EQ(d->folder(), folder());
    d->listing->selectIndex(5);  // ลายไทย.mpes: into the field
    EXPECT_EQ(d->nameField->get_text(), "ลายไทย.mpes");
    EXPECT_FALSE(answered);
    d->listing->selectIndex(5);  // the second click takes it
    ASSERT_TRUE(answered);
    EXPECT_EQ(*answer, path("ลายไทย.mpes"));
    drawFrame();
    EXPECT_EQ(GUI_modalView, nullptr);
}

TEST_F(OwnDialog, OpenWantsAnExistingFileAndEntersTypedFolders) {
    ToolkitFileDialog* d = open(openRequest());
    type(d, "missing.mpes");
    EXPECT_FALSE(answered);
    EXPECT_EQ(d->messageLabel->title, "The file does not exist.");
    type(d, "งานปัก");
    EXPECT_EQ(d->folder(), (temp / "งานปัก").string());
    type(d, "../Design.MPES");
    ASSERT_TRUE(answered);
    EXPECT_EQ(*answer, path("Design.MPES"));
}

TEST_F(OwnDialog, SaveAsksBeforeReplacingAndWantsAnExistingFolder) {
    FileRequest r = openRequest();
    r.mode = FileRequest::Save;
    r.fileMustExist = false;
    r.confirmOverwrite = true;
    r.initialPath = path("Untitled.mpes");
    ToolkitFileDialog* d = open(r);
    EXPECT_EQ(d->nameField->get_text(), "Untitled.mpes");
    EXPECT_EQ(d->okButton->title, "Save");
    type(d, "no-folder/x.mpes");
    EXPECT_EQ(d->messageLabel->title, "The folder does not exist.");
    type(d, "b.mpes");
    EXPECT_FALSE(answered);
    EXPECT_EQ(d->messageLabel->title, "The file already exists. Press Save again to replace it.");
    type(d, "b.mpes");
    ASSERT_TRUE(answered);
    EXPECT_EQ(*answer, path("b.mpes"));
}

TEST_F(OwnDialog, EscapeCancelsAndAnOutsideClickDoesNothing) {
    ToolkitFileDialog* d = open(openRequest());
    click(2, 2);
    EXPECT_EQ(GUI_modalView, d);
    EXPECT_FALSE(answered);
    key(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(answered);
    EXPECT_FALSE(answer.has_value());
}

TEST_F(OwnDialog, AFolderThatCannotBeReadIsSaid) {
    FileRequest r = openRequest();
    r.initialFolder = path("gone");
    ToolkitFileDialog* d = open(r);
    EXPECT_EQ(d->rows(), (std::vector<std::string>{"../"}));
    EXPECT_EQ(d->messageLabel->title, "The folder cannot be read.");
}

}  // namespace

namespace {

TEST(MessageBoxes, TheHelpersCommandLine) {
    EXPECT_EQ(messageBoxCommand("/opt/mes/mes-file-dialog", MessageKind::Error, "ส่งออกไม่สำเร็จ",
                                "กรุณาตรวจสอบ", "ตกลง", "0x400007"),
              (std::vector<std::string>{"/opt/mes/mes-file-dialog", "error", "--title",
                                        "ส่งออกไม่สำเร็จ", "--text", "กรุณาตรวจสอบ", "--accept", "ตกลง",
                                        "--parent", "0x400007"}));
    EXPECT_EQ(messageBoxCommand("h", MessageKind::Information, "t", "x", "OK", "")[1], "info");
}

}  // namespace
