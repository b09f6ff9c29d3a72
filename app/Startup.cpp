// Section index:
//   decisions kept pure (stick version, command-line document, window state)
//   runEditor: start-up steps in order, the main loop, shutdown in order
#include "app/Startup.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_net.h>
#include <SDL_ttf.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "app/AppState.h"
#include "app/DocumentFile.h"
#include "app/EmoticonBalloon.h"
#include "app/LayerSection.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "app/StickNetwork.h"
#include "design/StitchRenderer.h"
#include "gui/Draw.h"
#include "gui/FileUtils.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"
#include "gui/Localization.h"
#include "gui/Log.h"
#include "gui/Toolkit.h"
#include "gui/View.h"

// ---- decisions kept pure ----

int queryStickVersion(const std::function<std::string()>& query) {
    int version = 0;
    for (int attempt = 0; attempt < 3 && version == 0; ++attempt) {
        const std::string text = query();
        // A hair above the product so that "1.05" reads as 105, not 104.999...
        const double v = std::strtod(text.c_str(), nullptr) * 100.0 + 1e-7;
        version = (v > 0 && v < 2e9) ? int(v) : 0;
    }
    return version;
}

DocumentPlan planCommandLineDocument(const std::string& openFile) {
    DocumentPlan plan;
    if (openFile.empty())
        return plan;
    plan.kind = documentKind(openFile);
    plan.path = openFile;
    // Only a project keeps its path: an imported design is untitled, and anything else is not
    // opened at all.
    plan.currentOpenFileAfter = plan.kind == DocumentKind::Project ? openFile : "";
    return plan;
}

bool maximizeAtStart(WindowState& state) {
    if (state.isWindowFullscreen) {
        state.isWindowFullscreen = false;
        return false;
    }
    return state.isWindowMaximized;
}

// ---- runEditor ----

namespace {

void logGlAttribute(const char* name, SDL_GLattr attr) {
    int value = 0;
    SDL_GL_GetAttribute(attr, &value);
    GUI_LogNotice(name) << value;
}

void logDiagnosticPaths() {
    if (char* base = SDL_GetBasePath()) {
        GUI_LogNotice("SDL_GetBasePath()") << base;
        SDL_free(base);
    }
    GUI_LogNotice("GUI_getDocumentDirectory()") << currentDirectory();
    GUI_LogNotice("jsFilePath::getCurrentWorkingDirectory()")
        << jsFilePath::getCurrentWorkingDirectory();
    GUI_LogNotice("jsFilePath::getCurrentExePath()") << jsFilePath::getCurrentExePath();
    GUI_LogNotice("jsFilePath::getCurrentExeDir()") << jsFilePath::getCurrentExeDir();
}

// The stick link's log lines go to the application log under its module name.
void connectStickLog() {
    stickLink.setLogSink([](MivoStickLink::LogLevel level, const std::string& text) {
        const char* module = "MivoStickLink";
        switch (level) {
            case MivoStickLink::Verbose:
                GUI_LogVerbose(module) << text;
                break;
            case MivoStickLink::Notice:
                GUI_LogNotice(module) << text;
                break;
            case MivoStickLink::Warning:
                GUI_LogWarning(module) << text;
                break;
            case MivoStickLink::Error:
                GUI_LogError(module) << text;
                break;
        }
    });
}

void openCommandLineDocument() {
    const DocumentPlan plan = planCommandLineDocument(currentOpenFile);
    currentOpenFile = plan.currentOpenFileAfter;
    switch (plan.kind) {
        case DocumentKind::Project:
            GUI_Print("loadMPESW(%s);", plan.path.c_str());
            loadMPESW(plan.path);
            break;
        case DocumentKind::PesDesign:
            GUI_Print("importPESW(%s);", plan.path.c_str());
            importPESW(plan.path);
            break;
        case DocumentKind::None:
            break;
    }
}

// A request to end (SIGTERM, SIGINT) that arrives before SDL has installed its own handlers, which
// turn these signals into SDL_QUIT, is remembered and handed to the loop once SDL is up, so that
// the editor ends normally whenever it is asked to.
volatile std::sig_atomic_t earlyQuitRequested = 0;
void rememberEarlyQuit(int) {
    earlyQuitRequested = 1;
}

// Ends the run once the first frame is on screen: the loop pumps heartbeats right after it has
// presented. Used to check and time start-up from outside.
class QuitAfterFirstFrame : public GUI_Heartbeat {
public:
    bool pump() override {
        GUI_Print("First frame after %u ms\n", unsigned(GUI_firstPresentTicks));
        SDL_Event quit;
        SDL_zero(quit);
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        return false;
    }
};

// Libraries in the order they are initialised; a failure undoes the earlier ones in reverse.
void quitLibraries(int initialised) {
    if (initialised >= 4)
        SDLNet_Quit();
    if (initialised >= 3)
        TTF_Quit();
    if (initialised >= 2)
        IMG_Quit();
    SDL_Quit();
}

}  // namespace

void buildEditorWindow() {
    buildMainWindow();
    createEditorDocument();
    GUI_LogPrint("UI OK\n");
    buildStatusLabels();
    applyInitialSelections();
}

void createSharedTextures() {
    GUI_InitShapeTextures();
    stitchrender::createStitchResources();
}

void releaseEditor() {
    clearLocalizableStrings();
    GUI_CloseIconFonts();
    freeEmoticonThumbnails();
    releaseLayerSectionTextures();
    destroyEditorDocument();
    stitchrender::releaseStitchResources();
    GUI_FreeShapeTextures();
}

int runEditor(int argc, char** argv) {
    std::signal(SIGTERM, rememberEarlyQuit);
    std::signal(SIGINT, rememberEarlyQuit);

    // 1-3: the command line.
    currentOpenFile.clear();
    currentOpenPath.clear();
    std::vector<std::string> args;
    for (int i = 0; i < argc && argv != nullptr && argv[i] != nullptr; ++i)
        args.push_back(argv[i]);
    const CommandLine cl = parseCommandLine(args, currentDirectory());
    // "--help" and "--version" print their answer alone, with no window and no log lines.
    const std::string reply = commandLineReply(cl);
    if (!reply.empty()) {
        std::fputs(reply.c_str(), stdout);
        return 0;
    }
    GUI_Print("argc = %d\n", argc);
    startOptions = cl.options;
    for (const std::string& unknown : cl.unknownOptions)
        GUI_Print("Unknown option %s (ignored)\n", unknown.c_str());
    if (!cl.currentOpenFile.empty()) {
        GUI_Print("argv[0] = %s\n", args[0].c_str());
        // A folder that cannot be entered leaves the working directory as it was.
        if (!cl.workingDirectory.empty())
            setCurrentDirectory(cl.workingDirectory);
        GUI_Print("argv[1] = %s\n", cl.currentOpenFile.c_str());
        currentOpenFile = cl.currentOpenFile;
        currentOpenPath = cl.currentOpenPath;
        GUI_Print("currentOpenFile = %s\n", currentOpenFile.c_str());
    }
    GUI_Print("currentOpenPath = %s\n", currentOpenPath.c_str());

    // 4-5: silence the logs; hints.
    logThreshold = 5;
    GUI_LogPrint("Hello world\n");
    SDL_SetHint(SDL_HINT_ORIENTATIONS, "LandscapeLeft LandscapeRight");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "2");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "1");

    // 6: libraries and toolkit. SDL installs its signal handlers only over the default ones.
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        GUI_LogPrint("Could not initialize SDL");
    if (earlyQuitRequested) {
        SDL_Event quit;
        SDL_zero(quit);
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
    if (IMG_Init(0) != 0) {
        GUI_LogPrint("IMG_Init failed.");
        quitLibraries(1);
        return 1;
    }
    if (TTF_Init() != 0) {
        GUI_LogPrint("TTF_Init failed.");
        quitLibraries(2);
        return 1;
    }
    if (SDLNet_Init() != 0) {
        GUI_LogPrint("SDLNet_Init failed.");
        quitLibraries(3);
        return 1;
    }
    if (GUI_Init() != 0) {
        GUI_LogPrint("GUI_Init failed.");
        quitLibraries(4);
        return 1;
    }
    GUI_LogPrint("Init fonts\n");
    GUI_LogPrint("Init\n");
    GUI_LogPrint("Init OK\n");

    // 7-8: memory and the preferences folder.
    GUI_LogNotice("System RAM") << SDL_GetSystemRAM() << " MB.";
    prefPath = preferencesFolder();
    if (!prefPath.empty()) {
        GUI_LogPrint("Pref Path: %s\n", prefPath.c_str());
    } else {
        GUI_LogPrint("NO Base path\n");
    }

    // 9-10: the window, placed from the saved window state.
    GUI_windowPlacementHook = [](const SDL_DisplayMode& desktop) {
        const WindowState& s = loadWindowState(prefPath, desktop.w, desktop.h);
        return SDL_Rect{s.x, s.y, s.w, s.h};
    };
    GUI_CreateWindow();
    if (GUI_window == nullptr) {
        GUI_LogError("Create Window") << "Error";
        GUI_Quit();
        quitLibraries(4);
        return 1;
    }
    SDL_SetWindowTitle(GUI_window, "MES - Mivo Embroidery System");
    GUI_LogNotice("[GL Attrib]");
    logGlAttribute("Context major version", SDL_GL_CONTEXT_MAJOR_VERSION);
    logGlAttribute("Context minor version", SDL_GL_CONTEXT_MINOR_VERSION);
    logGlAttribute("Double buffer", SDL_GL_DOUBLEBUFFER);
    logGlAttribute("Multi sample buffer", SDL_GL_MULTISAMPLEBUFFERS);
    logGlAttribute("Multi sample samples", SDL_GL_MULTISAMPLESAMPLES);

    // 11: data paths resolve from here on.
    GUI_LogPrint("About to Init FileUtils\n");
    defaultWorkingDirectory = jsFilePath::getCurrentWorkingDirectory();
    GUI_LogPrint("FileUtils OK\n");
    logDiagnosticPaths();

    // 12-13: translations and settings.
    currentLanguage = "en";
    for (const char* code : {"en", "th", "jp"})
        loadLocalizableStrings(code);
    loadSettings();

    // 14-16: the main window.
    GUI_LogPrint("Top View: %i %i\n", GUI_windowWidth, GUI_windowHeight);
    if (GUI_TopView) {
        GUI_LogPrint("GUI_TopView existed");
        GUI_Print("ERROR: GUI_TopView existed.");
        std::exit(1);
    }
    buildEditorWindow();

    // 17-18: the stick's network; shared textures.
    connectStickLog();
    checkStickNetwork("IP Address (1): %s\n");
    createSharedTextures();

    // 19-20: window state and the command-line document.
    if (maximizeAtStart(windowState))
        SDL_MaximizeWindow(GUI_window);
    openCommandLineDocument();

    // 21: run until the user quits.
    if (startOptions.count("exit-after-first-frame"))
        GUI_AddHeartbeat(new QuitAfterFirstFrame);
    GUI_Run(false, mainWindowEventHook);

    releaseEditor();
    GUI_Quit();
    TTF_Quit();
    IMG_Quit();
    SDL_Quit();
    return 0;
}
