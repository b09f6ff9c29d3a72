// dialog-preview: shows one of the editor's dialogs alone in a window the size of the editor's,
// in the language asked for, the way the menu will open it.
//
//   dialog-preview settings [--lang th]           the settings dialog
//   dialog-preview open|import|save [--lang th]   the file dialog through the file chooser in use:
//                                                 the desktop's on a real display, our own on
//                                                 SDL's dummy driver or with --own
//   dialog-preview export [--stick HOST[:PORT]]   sends a small design to the stick and shows the
//                                                 result box ("Export Fail!" without --stick)
//   dialog-preview gallery [--gallery URL]        the cloud gallery over the canvas's place; a
//                                                 chosen design is added to the small design
//   options: --folder DIR (where the file dialogs start), --own (our own file dialog),
//            --model M --hoop H (the settings' model and hoop indexes)
//
// It prints what a file dialog chose. Close the window (or SIGTERM) to end. Screenshots: run it
// in Xvfb and take `import -window root`.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_net.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/AppState.h"
#include "app/FileChooser.h"
#include "app/FileCommands.h"
#include "app/Gallery.h"
#include "app/SettingDialog.h"
#include "app/Settings.h"
#include "app/StickExport.h"
#include "app/StickNetwork.h"
#include "app/ToolkitFileDialog.h"
#include "design/Document.h"
#include "design/HeadlessLayerList.h"
#include "gui/FileUtils.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"
#include "gui/Localization.h"
#include "gui/Log.h"
#include "gui/Toolkit.h"
#include "gui/View.h"

namespace {

// Our own dialog, whatever the display.
class OwnChooser : public FileChooser {
public:
    void choose(const FileRequest& request, Done done) override {
        openToolkitFileDialog(request, std::move(done));
    }
};

int usage() {
    std::fprintf(stderr,
                 "usage: dialog-preview settings|open|import|save|export|gallery [--lang en|th|jp] "
                 "[--folder DIR] [--own] [--stick HOST[:PORT]] [--gallery URL]\n");
    return 2;
}

// A small design: a zigzag in two colours.
PESData zigzag() {
    PESData layer;
    for (int colour = 0; colour < 2; ++colour) {
        StitchBlock block;
        block.colorIndex = uint8_t(5 + 5 * colour);
        for (int i = 0; i < 20; ++i) {
            Stitch s;
            s.x = -200 + 20 * i;
            s.y = (i % 2 ? 40 : -40) + 120 * colour;
            block.stitches.push_back(s);
        }
        layer.blocks.push_back(block);
    }
    layer.computeBounds();
    layer.properties.type = kLayerPES;
    return layer;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    const std::string what = argv[1];
    std::string language = "en";
    std::string folder;
    bool own = false;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--lang" && i + 1 < argc) {
            language = argv[++i];
        } else if (a == "--folder" && i + 1 < argc) {
            folder = argv[++i];
        } else if (a == "--stick" && i + 1 < argc) {
            startOptions["stick"] = argv[++i];
        } else if (a == "--gallery" && i + 1 < argc) {
            startOptions["gallery"] = argv[++i];
        } else if (a == "--model" && i + 1 < argc) {
            settings.modelIndex = std::atoi(argv[++i]);
        } else if (a == "--hoop" && i + 1 < argc) {
            settings.hoopIndex = std::atoi(argv[++i]);
        } else if (a == "--own") {
            own = true;
        } else {
            return usage();
        }
    }

    logThreshold = 5;
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || TTF_Init() != 0 || SDLNet_Init() != 0 || GUI_Init() != 0)
        return 1;
    IMG_Init(IMG_INIT_PNG);
    if (GUI_CreateWindow() == nullptr)
        return 1;
    defaultWorkingDirectory = jsFilePath::getCurrentWorkingDirectory();
    for (const char* code : {"en", "th", "jp"})
        loadLocalizableStrings(code);
    currentLanguage = language;
    settings.languageIndex = language == "th" ? 1 : language == "jp" ? 2 : 0;
    prefPath = "";

    auto* root = new GUI_View(nullptr, "GUI", 0, 0, -1, -1, SDL_Color{0x70, 0x70, 0x70, 255});
    GUI_TopView = root;
    root->set_margin(0, 0, 0, 0);
    HeadlessLayerList list;
    auto document = std::make_unique<Document>(list);
    theDocument = document.get();
    document->appendLayer(zigzag(), "zigzag");
    currentOpenPath = folder;

    OwnChooser ownChooser;
    if (own)
        fileChooser = &ownChooser;
    if (what == "settings") {
        openSettingsDialog();
    } else if (what == "open") {
        openProjectDialog();
    } else if (what == "import") {
        importDesignDialog();
    } else if (what == "save") {
        saveProjectDialog();
    } else if (what == "export") {
        checkStickNetwork("IP Address: %s\n");
        GUI_RunFrame();
        exportToStick();
    } else if (what == "gallery") {
        // The arrow points where the top bar's gallery button is.
        openGallery(160 * GUI_scale);
    } else {
        return usage();
    }
    GUI_Run(false, nullptr);
    std::printf("currentOpenFile: %s\n", currentOpenFile.c_str());

    theDocument = nullptr;
    document.reset();
    clearLocalizableStrings();
    GUI_CloseIconFonts();
    GUI_Quit();
    TTF_Quit();
    IMG_Quit();
    SDL_Quit();
    return 0;
}
