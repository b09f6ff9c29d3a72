// The main menu's dialog rows in the real main window: the settings dialog and the file dialogs
// (answered through the chooser seam) take the window's input while up, give it back after, and
// the settings' language reaches the captions that follow it at once.

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include <optional>

#include "app/EditorTestFixture.h"
#include "app/FileChooser.h"
#include "app/MainMenu.h"
#include "app/SettingDialog.h"
#include "gui/Button.h"
#include "gui/Dialog.h"
#include "gui/DropDown.h"
#include "gui/IconButton.h"
#include "gui/Label.h"
#include "gui/List.h"

namespace fs = boost::filesystem;

namespace {

class AnswerWith : public FileChooser {
public:
    void choose(const FileRequest& request, Done done) override {
        titles.push_back(request.title);
        offered.push_back(request.initialPath);
        done(answer);
    }
    std::optional<std::string> answer;
    std::vector<std::string> titles, offered;
};

class MenuDialogs : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        dir = fs::temp_directory_path() / fs::unique_path("mes-menu-%%%%-%%%%");
        fs::create_directories(dir);
        fileChooser = &chooser;
    }
    void TearDown() override {
        fileChooser = nullptr;
        EditorFixture::TearDown();
        fs::remove_all(dir);
    }
    SettingDialog* openedSettings() { return dynamic_cast<SettingDialog*>(GUI_modalView); }

    fs::path dir;
    AnswerWith chooser;
};

TEST_F(MenuDialogs, OkWithJapaneseTranslatesTheEffectPanelAndLayersAtOnce) {
    clickOn(ui.menuButton);
    chooseMenuAction(MenuAction::Settings);
    SettingDialog* d = openedSettings();
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(ui.mainView->interactive);  // the dialog has the window
    d->languageDropdown->select(2, true);
    d->ok();
    frame();
    EXPECT_EQ(currentLanguage, "jp");
    EXPECT_EQ(ui.effectButton->title, localizedString("Effect"));
    EXPECT_EQ(ui.effectButton->title,
              "\xE3\x82\xA8\xE3\x83\x95\xE3\x82\xA7\xE3\x82\xAF\xE3\x83\x88");
    EXPECT_EQ(ui.layersLabel->title, localizedString("Layers"));
    EXPECT_NE(ui.layersLabel->title, "Layers");
    // Made once at start, the tabs follow at the next start.
    EXPECT_EQ(ui.fontTab->title, "Font");
    EXPECT_TRUE(ui.mainView->interactive);
    EXPECT_EQ(ui.mainMenu, nullptr);
    // The menu opens in Japanese the next time.
    clickOn(ui.menuButton);
    ASSERT_NE(ui.mainMenu, nullptr);
    EXPECT_EQ(ui.mainMenu->getCell(0)->title, localizedString("New"));
    EXPECT_NE(ui.mainMenu->getCell(0)->title, "New");
}

TEST_F(MenuDialogs, SaveNewOpenGivesTheSameLayersAndTitles) {
    addShape(2, 4, 3);
    addShape(8, 2, 2);
    const std::string file = (dir / "Design").string();  // ".mpes" is added
    chooser.answer = file;
    clickOn(ui.menuButton);
    chooseMenuAction(MenuAction::Save);
    frame();
    ASSERT_TRUE(fs::exists(file + ".mpes"));
    EXPECT_EQ(chooser.titles.back(), "Save...");
    EXPECT_STREQ(SDL_GetWindowTitle(GUI_window), "Design.mpes - Mivo Embroidery System");
    EXPECT_EQ(ui.mainMenu, nullptr);
    EXPECT_TRUE(ui.toolbox->interactive);

    chooseMenuAction(MenuAction::New);
    EXPECT_EQ(doc().layerCount(), 0);
    EXPECT_STREQ(SDL_GetWindowTitle(GUI_window), "MES - Mivo Embroidery System");

    chooser.answer = file + ".mpes";
    chooseMenuAction(MenuAction::Open);
    frame();
    ASSERT_EQ(doc().layerCount(), 2);
    EXPECT_EQ(doc().layers[1].properties.shapeIndex, 8);
    EXPECT_STREQ(SDL_GetWindowTitle(GUI_window), "Design.mpes - Mivo Embroidery System");
    EXPECT_EQ(ui.layerList->getCount(), 2);
    EXPECT_TRUE(ui.mainView->interactive);

    // Cancel changes nothing.
    chooser.answer.reset();
    chooseMenuAction(MenuAction::Open);
    frame();
    EXPECT_EQ(doc().layerCount(), 2);
    EXPECT_EQ(currentOpenFile, file + ".mpes");
}

}  // namespace
