// The settings file (its 10 bytes and their clamping), loading and saving it, the model and hoop
// table, and the settings dialog driven with made-up clicks.

#include "app/Settings.h"

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include "app/MachineModels.h"
#include "app/SettingDialog.h"
#include "app/ShellTestFixture.h"
#include "gui/Log.h"

namespace fs = boost::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes file(uint8_t model, uint8_t hoop, uint8_t reserved = 0, uint8_t display = 0,
           uint8_t language = 0, std::array<uint8_t, 4> switches = {1, 1, 1, 0}) {
    return {101,      model,       hoop,        reserved,    display,
            language, switches[0], switches[1], switches[2], switches[3]};
}

TEST(MachineModels, TwelveModelsWithTheirHoops) {
    const auto& m = machineModels();
    ASSERT_EQ(m.size(), 12u);
    EXPECT_EQ(m[0].name, "NV-95E");
    EXPECT_EQ(m[11].name, "PR-1050X");
    const size_t counts[12] = {2, 2, 2, 2, 3, 6, 5, 12, 6, 9, 11, 11};
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(m[i].hoops.size(), counts[i]) << m[i].name;
        EXPECT_EQ(m[i].hoopTexts.size(), counts[i]) << m[i].name;
    }
    // PR-1000's largest hoop is shown in centimetres with "%3.1f x %3.1f".
    EXPECT_EQ(m[10].hoops[6].width, 360);
    EXPECT_EQ(m[10].hoopTexts[6], "36.0 x 36.0");
    EXPECT_EQ(m[7].hoopTexts[0], "3.3 x 7.5");
    EXPECT_EQ(m[11].hoopTexts, m[10].hoopTexts);
    EXPECT_EQ(hoopText(45, 24), "4.5 x 2.4");
}

TEST(SettingsFile, BytesAreReadAsSignedAndClamped) {
    struct Case {
        Bytes bytes;
        int model, hoop, w, h;
    } cases[] = {
        {file(100, 0), 11, 0, 60, 40},    // past the last model: PR-1050X
        {file(200, 0), 0, 0, 60, 20},     // 200 reads as -56: the first model
        {file(0, 100), 0, 1, 100, 100},   // past NV-95E's last hoop: 100 x 100
        {file(255, 255), 0, 0, 60, 20},   // -1 (as a fresh installation writes it)
        {file(10, 6), 10, 6, 360, 360},   // PR-1000's largest
        {file(7, 11), 7, 11, 45, 24},     // VR's last
        {file(127, 128), 11, 0, 60, 40},  // the extremes of a signed byte
    };
    for (const Case& c : cases) {
        Settings s;
        ASSERT_EQ(readSettingsBytes(c.bytes.data(), c.bytes.size(), s), SettingsFileResult::Loaded);
        EXPECT_EQ(s.modelIndex, c.model) << int(c.bytes[1]) << "," << int(c.bytes[2]);
        EXPECT_EQ(s.hoopIndex, c.hoop) << int(c.bytes[1]) << "," << int(c.bytes[2]);
        EXPECT_EQ(s.hoopWidth, c.w);
        EXPECT_EQ(s.hoopHeight, c.h);
    }

    Settings s;
    const Bytes other = file(3, 1, 9, 200, 77, {0, 5, 0, 1});
    readSettingsBytes(other.data(), other.size(), s);
    EXPECT_EQ(s.reservedFlag, 1);
    EXPECT_EQ(s.displayMode, 0);    // 200 is -56
    EXPECT_EQ(s.languageIndex, 2);  // 77: the last language
    EXPECT_FALSE(s.showJumpStitches);
    EXPECT_TRUE(s.showGrid);
    EXPECT_FALSE(s.showRulers);
    EXPECT_TRUE(s.showDesignCenter);
    EXPECT_EQ(s.storedShowGrid, s.showGrid);
}

TEST(SettingsFile, OtherSizesAndVersionsAreIgnored) {
    Bytes eleven = file(5, 2);
    eleven.push_back(0);
    Bytes nine = file(5, 2);
    nine.pop_back();
    Bytes version = file(5, 2);
    version[0] = 100;
    Settings s;
    EXPECT_EQ(readSettingsBytes(eleven.data(), eleven.size(), s), SettingsFileResult::WrongSize);
    EXPECT_EQ(readSettingsBytes(nine.data(), nine.size(), s), SettingsFileResult::WrongSize);
    EXPECT_EQ(readSettingsBytes(nullptr, 0, s), SettingsFileResult::WrongSize);
    EXPECT_EQ(readSettingsBytes(version.data(), version.size(), s),
              SettingsFileResult::WrongVersion);
    EXPECT_EQ(s.modelIndex, -1);
    EXPECT_EQ(s.hoopWidth, 100);
}

TEST(SettingsFile, WritesTheLowBytes) {
    Settings s;
    s.modelIndex = 9;
    s.hoopIndex = 4;
    s.reservedFlag = -1;
    s.displayMode = 2;
    s.languageIndex = 1;
    s.storedShowJumpStitches = false;
    s.storedShowDesignCenter = true;
    s.showGrid = false;  // the live value is not what the file keeps
    const auto b = settingsBytes(s);
    EXPECT_EQ(Bytes(b.begin(), b.end()), (Bytes{101, 9, 4, 255, 2, 1, 0, 1, 1, 1}));
}

TEST(SettingsFile, AnAreaChosenByNoModelIsStoredSoThatItComesBack) {
    Settings fresh;  // no model, 100 x 100
    const auto b = settingsBytes(fresh);
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(b[2], 1);
    EXPECT_EQ(b[5], 255);  // no language: read back as English, the language in use
    Settings back;
    readSettingsBytes(b.data(), b.size(), back);
    EXPECT_EQ(back.hoopWidth, 100);
    EXPECT_EQ(back.hoopHeight, 100);
}

class SettingsOnDisk : public ShellFixture {};

TEST_F(SettingsOnDisk, LoadReadsThePreferencesFolderAndSetsTheLanguage) {
    writeFile(path(".setting_v_101"), file(8, 3, 0, 1, 1, {0, 0, 1, 1}));
    currentLanguage = "en";
    loadSettings();
    EXPECT_EQ(settings.modelIndex, 8);
    EXPECT_EQ(settings.hoopWidth, 300);
    EXPECT_EQ(settings.hoopHeight, 200);
    EXPECT_EQ(settings.displayMode, 1);
    EXPECT_FALSE(settings.showGrid);
    EXPECT_TRUE(settings.showDesignCenter);
    EXPECT_EQ(currentLanguage, "th");

    // An eleven-byte file is ignored entirely: the defaults stay.
    Bytes eleven = file(8, 3, 0, 1, 2);
    eleven.push_back(1);
    writeFile(path(".setting_v_101"), eleven);
    loadSettings();
    EXPECT_EQ(settings.modelIndex, -1);
    EXPECT_EQ(settings.hoopWidth, 100);
    EXPECT_TRUE(settings.showGrid);
    EXPECT_EQ(currentLanguage, "th");  // unchanged
}

TEST_F(SettingsOnDisk, SaveThenLoadKeepsEverything) {
    settings.modelIndex = 6;
    settings.hoopIndex = 3;
    settings.hoopWidth = 300;
    settings.hoopHeight = 180;
    settings.languageIndex = 2;
    settings.displayMode = 2;
    settings.storedShowRulers = false;
    ASSERT_TRUE(saveSettings());
    EXPECT_EQ(readFile(path(".setting_v_101")).size(), 10u);
    loadSettings();
    EXPECT_EQ(settings.modelIndex, 6);
    EXPECT_EQ(settings.hoopIndex, 3);
    EXPECT_EQ(settings.hoopWidth, 300);
    EXPECT_EQ(settings.displayMode, 2);
    EXPECT_FALSE(settings.showRulers);
    EXPECT_EQ(currentLanguage, "jp");
}

TEST_F(SettingsOnDisk, AFileThatCannotBeWrittenLogsOneLineAndKeepsTheValues) {
    prefPath = path("no-such-folder/");
    settings.modelIndex = 4;
    const int threshold = logThreshold;
    logThreshold = 0;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(saveSettings());
    const std::string err = testing::internal::GetCapturedStderr();
    logThreshold = threshold;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find(".setting_v_101"), std::string::npos) << err;
    EXPECT_EQ(settings.modelIndex, 4);
}

// ---- the dialog ----

class SettingsDialog : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        useEditorSizedRoot();
    }
    // Clicks the middle of a view, as the user sees it (a view is hit only once drawn).
    static void clickOn(const GUI_View* v) {
        drawFrame();
        click((v->x + v->w / 2) / GUI_scale, (v->y + v->h / 2) / GUI_scale);
    }
    // Opens a drop-down and chooses one of its rows.
    static void choose(GUI_Dropdown* d, int row) {
        clickOn(d);
        ASSERT_NE(d->popup, nullptr);
        ASSERT_TRUE(d->popup->is_visible());
        drawFrame();
        GUI_ListCell* cell = d->popup->getCell(row);
        ASSERT_NE(cell, nullptr);
        const int y = d->popup->y + cell->relY + d->popup->pad->relY + cell->h / 2;
        click((d->popup->x + d->popup->w / 2) / GUI_scale, y / GUI_scale);
    }
    // Runs the draw pass that deletes closed views.
    static void frame() { drawFrame(); }
};

TEST_F(SettingsDialog, OpensModalCentredWithTheCurrentValues) {
    settings.modelIndex = 10;
    settings.hoopIndex = 6;
    settings.languageIndex = 1;
    settings.displayMode = 2;
    settings.showGrid = false;
    SettingDialog* d = openSettingsDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(openSettingsDialog(), nullptr);  // one at a time
    EXPECT_EQ(GUI_modalView, d);
    EXPECT_FALSE(GUI_closeModalOnOutsideClick);
    EXPECT_EQ(d->w, 320);
    EXPECT_EQ(d->h, 480);
    EXPECT_EQ(d->x, (800 - 320) / 2);
    EXPECT_EQ(d->modelDropdown->title, "PR-1000");
    for (size_t i = 0; i < d->hoopDropdowns.size(); ++i)
        EXPECT_EQ(d->hoopDropdowns[i]->is_visible(), i == 10) << i;
    EXPECT_EQ(d->hoopDropdowns[10]->title, "36.0 x 36.0");
    EXPECT_EQ(d->languageDropdown->title, "Thai");  // item texts are not translated
    EXPECT_EQ(d->displayDropdown->title, "Underlay");
    EXPECT_TRUE(d->switches[0]->state);
    EXPECT_FALSE(d->switches[1]->state);

    // A click outside does not close it.
    drawFrame();
    click(5, 5);
    frame();
    EXPECT_EQ(GUI_modalView, d);
}

TEST_F(SettingsDialog, CancelAfterTogglingShowGridLeavesTheGridAsItWas) {
    SettingDialog* d = openSettingsDialog();
    ASSERT_TRUE(settings.showGrid);
    clickOn(d->switches[1]);
    EXPECT_FALSE(settings.showGrid);  // previewed at once
    clickOn(d->switches[3]);
    EXPECT_TRUE(settings.showDesignCenter);
    clickOn(d->cancelButton);
    EXPECT_TRUE(settings.showGrid);
    EXPECT_FALSE(settings.showDesignCenter);
    EXPECT_FALSE(fs::exists(path(".setting_v_101")));  // nothing stored
    frame();
    EXPECT_EQ(GUI_modalView, nullptr);
    EXPECT_EQ(GUI_TopView->child_count(), 0);
}

TEST_F(SettingsDialog, OkWithJapaneseSwitchesTheCaptionsAtOnce) {
    SettingDialog* d = openSettingsDialog();
    std::string effectCaption;
    d->onStored = [&] { effectCaption = localizedString("Effect"); };
    choose(d->languageDropdown, 2);
    EXPECT_EQ(d->languageDropdown->title, "Japanese");
    choose(d->modelDropdown, 10);
    EXPECT_TRUE(d->hoopDropdowns[10]->is_visible());
    EXPECT_FALSE(d->hoopDropdowns[0]->is_visible());
    choose(d->hoopDropdowns[10], 6);
    clickOn(d->switches[0]);
    clickOn(d->okButton);

    EXPECT_EQ(effectCaption, "エフェクト");
    EXPECT_EQ(currentLanguage, "jp");
    EXPECT_EQ(settings.modelIndex, 10);
    EXPECT_EQ(settings.hoopIndex, 6);
    EXPECT_EQ(settings.hoopWidth, 360);
    EXPECT_EQ(settings.hoopHeight, 360);
    EXPECT_FALSE(settings.storedShowJumpStitches);
    EXPECT_EQ(readFile(path(".setting_v_101")), (Bytes{101, 10, 6, 255, 0, 2, 0, 1, 1, 0}));
    frame();
    EXPECT_EQ(GUI_modalView, nullptr);
}

TEST_F(SettingsDialog, OkOnAFreshInstallationKeepsTheDefaults) {
    SettingDialog* d = openSettingsDialog();
    EXPECT_EQ(d->modelDropdown->selectedIndex, -1);
    EXPECT_EQ(d->languageDropdown->title, "English");  // the language in use, not a blank
    clickOn(d->okButton);
    EXPECT_EQ(settings.modelIndex, -1);
    EXPECT_EQ(settings.hoopIndex, -1);
    EXPECT_EQ(settings.hoopWidth, 100);
    EXPECT_EQ(settings.hoopHeight, 100);
    EXPECT_EQ(settings.languageIndex, 0);
    EXPECT_EQ(currentLanguage, "en");
    // The next start has the same design area.
    loadSettings();
    EXPECT_EQ(settings.hoopWidth, 100);
    EXPECT_EQ(settings.hoopHeight, 100);
}

TEST_F(SettingsDialog, ChoosingAModelOffersItsHoopForTheAreaInUse) {
    SettingDialog* d = openSettingsDialog();
    choose(d->modelDropdown, 6);  // V3 lists 100 x 100 first
    EXPECT_EQ(d->hoopDropdowns[6]->selectedIndex, 0);
    choose(d->modelDropdown, 8);  // PR-650E: 100 x 100 is its second hoop
    EXPECT_EQ(d->hoopDropdowns[8]->selectedIndex, 1);
    EXPECT_FALSE(d->hoopDropdowns[6]->is_visible());
    clickOn(d->okButton);
    EXPECT_EQ(settings.modelIndex, 8);
    EXPECT_EQ(settings.hoopIndex, 1);
    EXPECT_EQ(settings.hoopWidth, 100);
}

TEST_F(SettingsDialog, ANewWindowSizeClosesItAsCancel) {
    SettingDialog* d = openSettingsDialog();
    clickOn(d->switches[2]);
    EXPECT_FALSE(settings.showRulers);
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    e.window.data1 = 700;
    e.window.data2 = 500;
    send(e);
    EXPECT_TRUE(settings.showRulers);
    EXPECT_FALSE(fs::exists(path(".setting_v_101")));
    frame();
    EXPECT_EQ(GUI_modalView, nullptr);
    EXPECT_NE(openSettingsDialog(), nullptr);  // and it can be opened again
}

TEST_F(SettingsDialog, AFreshInstallationShowsTheLanguageInUse) {
    currentLanguage = "th";
    SettingDialog* d = openSettingsDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->languageDropdown->title, "Thai");
}

TEST_F(SettingsDialog, EscapeIsCancel) {
    SettingDialog* d = openSettingsDialog();
    clickOn(d->switches[1]);
    EXPECT_FALSE(settings.showGrid);
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_ESCAPE;
    e.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    send(e);
    EXPECT_TRUE(settings.showGrid);
    EXPECT_FALSE(fs::exists(path(".setting_v_101")));
    frame();
    EXPECT_EQ(GUI_modalView, nullptr);
}

TEST_F(SettingsDialog, CaptionsFollowTheLanguage) {
    currentLanguage = "th";
    SettingDialog* d = openSettingsDialog();
    ASSERT_NE(d, nullptr);
    bool found = false;
    std::function<void(GUI_View*)> walk = [&](GUI_View* v) {
        found = found || v->title == "ขนาดสะดึง (ซม.)";
        for (GUI_View* c : v->children)
            walk(c);
    };
    walk(d);
    EXPECT_TRUE(found);
}

}  // namespace
