// The file dialogs with the chooser seam answering for the user: what each dialog asks, and what
// open, import and save then do to the design, its path and the window title.

#include "app/FileCommands.h"

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include "app/DocumentFile.h"
#include "app/Platform.h"
#include "app/ShellTestFixture.h"
#include "design/DocumentTestLayers.h"
#include "design/PESExport.h"
#include "design/ProjectFile.h"

namespace fs = boost::filesystem;

namespace {

using testlayers::line;
using testlayers::twoColors;

std::string windowTitle() {
    return SDL_GetWindowTitle(GUI_window);
}

std::vector<std::tuple<int, int, int>> stitchesOf(const PESData& layer) {
    std::vector<std::tuple<int, int, int>> out;
    for (const StitchBlock& b : layer.blocks)
        for (const Stitch& s : b.stitches)
            out.emplace_back(s.x, s.y, b.colorIndex);
    return out;
}

class FileCommands : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        fileChooser = &chooser;
        SDL_SetWindowTitle(GUI_window, "MES - Mivo Embroidery System");
    }
    // A project file holding one layer, written beside the test's other files.
    std::string writeProject(const std::string& name) {
        HeadlessLayerList otherList;
        Document other(otherList);
        other.appendLayer(line(-100, -50, 100, 50, 5), "l");
        writeFile(path(name), projectBytes(other, 100, 100));
        return path(name);
    }
    AnsweringChooser chooser;
};

TEST_F(FileCommands, OpenAsksForAProjectAndTakesItsNameAsTitle) {
    const std::string file = writeProject("Design.MPES");  // the ending test ignores case
    chooser.answers = {file};
    openProjectDialog();

    ASSERT_EQ(chooser.requests.size(), 1u);
    const FileRequest& r = chooser.requests[0];
    EXPECT_EQ(r.mode, FileRequest::Open);
    EXPECT_EQ(r.title, "Open...");
    ASSERT_EQ(r.filters.size(), 2u);
    EXPECT_EQ(r.filters[0].label, "PES Project Files (*.mpes)");
    EXPECT_EQ(r.filters[0].pattern, "*.mpes");
    EXPECT_EQ(r.filters[1].label, "All Files (*.*)");
    EXPECT_EQ(r.filters[1].pattern, "*.*");
    EXPECT_TRUE(r.fileMustExist);
    EXPECT_FALSE(r.confirmOverwrite);
    EXPECT_EQ(r.initialPath, "");

    EXPECT_EQ(theDocument->layerCount(), 1);
    EXPECT_EQ(currentOpenFile, file);
    EXPECT_EQ(currentOpenPath, folder());
    EXPECT_EQ(windowTitle(), "Design.MPES - Mivo Embroidery System");
    EXPECT_FALSE(fileDialogUp());
}

TEST_F(FileCommands, DialogsAskInTheInterfaceLanguage) {
    currentLanguage = "th";
    const FileRequest r = importDesignRequest();
    EXPECT_EQ(r.title, localizedString("Import..."));
    EXPECT_EQ(r.filters[0].label, "ไฟล์ PES (*.pes)");
    EXPECT_EQ(r.filters[0].pattern, "*.pes");
    EXPECT_EQ(r.acceptLabel, "เปิด");
    EXPECT_EQ(r.cancelLabel, "ยกเลิก");
}

TEST_F(FileCommands, SaveOfAnUntitledDesignOffersUntitledInTheWorkingDirectory) {
    document->appendLayer(line(0, 0, 50, 50, 3), "l");
    chooser.answers = {std::nullopt};
    saveProjectDialog();
    ASSERT_EQ(chooser.requests.size(), 1u);
    const FileRequest& r = chooser.requests[0];
    EXPECT_EQ(r.mode, FileRequest::Save);
    EXPECT_EQ(r.title, "Save...");
    EXPECT_EQ(r.filters[0].pattern, "*.mpes");
    EXPECT_TRUE(r.confirmOverwrite);
    EXPECT_EQ(r.initialPath, currentDirectory() + "/Untitled.mpes");
    EXPECT_EQ(currentOpenPath, currentDirectory());  // taken from the working directory

    // A folder known from an earlier file is used instead; a titled design offers its own file.
    currentOpenPath = folder();
    EXPECT_EQ(saveProjectRequest().initialPath, folder() + "/Untitled.mpes");
    currentOpenFile = path("mine.mpes");
    EXPECT_EQ(saveProjectRequest().initialPath, path("mine.mpes"));
}

TEST_F(FileCommands, SaveThenNewThenOpenGivesTheSameLayers) {
    document->appendLayer(line(-200, -100, 150, 80, 5), "a");
    document->appendLayer(twoColors(7, 12), "b");
    const auto first = stitchesOf(document->layers[0]);
    const auto second = stitchesOf(document->layers[1]);

    // A Thai folder and a name without the extension.
    const fs::path thai = temp / "งานปัก";
    fs::create_directories(thai);
    chooser.answers = {(thai / "ลายดอกไม้").string()};
    saveProjectDialog();
    const std::string saved = (thai / "ลายดอกไม้.mpes").string();
    ASSERT_TRUE(fs::exists(saved));
    EXPECT_EQ(currentOpenFile, saved);
    EXPECT_EQ(currentOpenPath, thai.string());
    EXPECT_EQ(windowTitle(), "ลายดอกไม้.mpes - Mivo Embroidery System");

    newDesign();
    EXPECT_EQ(theDocument->layerCount(), 0);
    EXPECT_EQ(windowTitle(), "MES - Mivo Embroidery System");

    chooser.answers = {saved};
    openProjectDialog();
    ASSERT_EQ(theDocument->layerCount(), 2);
    EXPECT_EQ(stitchesOf(document->layers[0]), first);
    EXPECT_EQ(stitchesOf(document->layers[1]), second);
    EXPECT_EQ(windowTitle(), "ลายดอกไม้.mpes - Mivo Embroidery System");
    EXPECT_FALSE(theDocument->history.canUndo());
}

TEST_F(FileCommands, PathsLongerThanAnOldDialogBufferWork) {
    fs::path deep = temp;
    for (int i = 0; i < 3; ++i)
        deep /= std::string(120, char('a' + i));
    fs::create_directories(deep);
    const std::string file = (deep / "design.mpes").string();
    ASSERT_GT(file.size(), 360u);
    document->appendLayer(line(0, 0, 30, 30, 2), "l");
    chooser.answers = {file, file};
    saveProjectDialog();
    EXPECT_EQ(currentOpenFile, file);
    newDesign();
    openProjectDialog();
    EXPECT_EQ(theDocument->layerCount(), 1);
    EXPECT_EQ(currentOpenFile, file);
}

TEST_F(FileCommands, ImportKeepsTitleAndPathAndUndoRemovesTheLayer) {
    const std::string project = writeProject("kept.mpes");
    chooser.answers = {project};
    openProjectDialog();
    ASSERT_EQ(theDocument->layerCount(), 1);
    const std::string title = windowTitle();

    const std::string pes = path("ดอกกุหลาบ.PES");
    writeFile(pes, writePES1(line(-300, 0, 300, 10, 9), 100, 100));
    chooser.answers = {pes};
    importDesignDialog();
    const FileRequest& r = chooser.requests.back();
    EXPECT_EQ(r.title, "Import...");
    EXPECT_EQ(r.filters[0].pattern, "*.pes");
    EXPECT_TRUE(r.fileMustExist);

    EXPECT_EQ(theDocument->layerCount(), 2);
    EXPECT_EQ(currentOpenFile, project);
    EXPECT_EQ(windowTitle(), title);
    ASSERT_TRUE(theDocument->history.canUndo());
    theDocument->history.undo();
    EXPECT_EQ(theDocument->layerCount(), 1);
}

TEST_F(FileCommands, CancelledDialogsChangeNothing) {
    document->appendLayer(line(0, 0, 40, 40, 4), "l");
    currentOpenFile = path("before.mpes");
    currentOpenPath = folder();
    SDL_SetWindowTitle(GUI_window, "before.mpes - Mivo Embroidery System");
    for (void (*dialog)() : {openProjectDialog, importDesignDialog, saveProjectDialog}) {
        chooser.answers = {std::nullopt};
        dialog();
        EXPECT_EQ(theDocument->layerCount(), 1);
        EXPECT_EQ(currentOpenFile, path("before.mpes"));
        EXPECT_EQ(currentOpenPath, folder());
        EXPECT_EQ(windowTitle(), "before.mpes - Mivo Embroidery System");
        EXPECT_FALSE(fs::exists(path("before.mpes")));
        EXPECT_FALSE(fileDialogUp());
    }
    EXPECT_EQ(chooser.requests.size(), 3u);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(FileCommands, AFailingSaveIsReportedAndLeavesTheOldFileAndTitle) {
    document->appendLayer(line(0, 0, 40, 40, 4), "l");
    const std::string old = path("old.mpes");
    const std::vector<uint8_t> oldBytes = {'#', 'M', 'P', 'E', 'S', '\n'};
    writeFile(old, oldBytes);
    currentOpenFile = old;
    SDL_SetWindowTitle(GUI_window, "old.mpes - Mivo Embroidery System");
    // The file cannot be written beside the old one (its temporary name is taken by a folder),
    // as on a full disk; root in a test cannot make a folder read-only.
    fs::create_directories(old + ".part");
    chooser.answers = {old};
    saveProjectDialog();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes[0].title, "Save Failed");
    EXPECT_NE(boxes[0].text.find(old), std::string::npos);
    EXPECT_EQ(readFile(old), oldBytes);
    EXPECT_EQ(currentOpenFile, old);
    EXPECT_EQ(windowTitle(), "old.mpes - Mivo Embroidery System");

    // A folder that is not there, in Thai.
    currentLanguage = "th";
    EXPECT_FALSE(saveProjectAs(path("missing/x.mpes")));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].title, "บันทึกไม่สำเร็จ");
    EXPECT_EQ(currentOpenFile, old);
}

TEST_F(FileCommands, SaveWithoutLayersAsksNothing) {
    saveProjectDialog();
    EXPECT_TRUE(chooser.requests.empty());
    EXPECT_FALSE(saveProjectAs(path("empty.mpes")));
    EXPECT_FALSE(fs::exists(path("empty.mpes")));
}

// A chooser that keeps the callback, as a dialog the user is still looking at.
class PendingChooser : public FileChooser {
public:
    void choose(const FileRequest&, Done d) override {
        ++asked;
        done = std::move(d);
    }
    Done done;
    int asked = 0;
};

TEST_F(FileCommands, ASecondDialogWhileOneIsUpIsIgnored) {
    PendingChooser pending;
    fileChooser = &pending;
    openProjectDialog();
    EXPECT_TRUE(fileDialogUp());
    importDesignDialog();
    EXPECT_EQ(pending.asked, 1);
    const std::string file = writeProject("later.mpes");
    pending.done(file);
    EXPECT_FALSE(fileDialogUp());
    EXPECT_EQ(currentOpenFile, file);
}

}  // namespace
