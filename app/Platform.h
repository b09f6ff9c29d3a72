// The few operating-system services the shell needs, in one place so that the rest of app/ stays
// portable: the command line, the working directory, the preferences folder and the window's
// maximised state. Paths are UTF-8 strings.
#pragma once

#include <SDL.h>

#include <map>
#include <string>
#include <vector>

// The directory part of a path: the text before its last '/' or '\', without that separator;
// the whole path when it holds neither.
std::string pathBeforeLastSeparator(const std::string& path);

// The path with one "/" at its end ("" stays "").
std::string withTrailingSlash(const std::string& path);

// The editor's version, as the bottom bar and "mes --version" show it.
constexpr const char* kEditorVersion = "1.00.50";

// Lower-cases ASCII letters and leaves every other byte (UTF-8 sequences included) alone.
std::string asciiLower(const std::string& s);

// What the command line asks of start-up.
struct CommandLine {
    std::string currentOpenFile;   // the document argument ("" when none)
    std::string currentOpenPath;   // directory of the last path argument
    std::string workingDirectory;  // where to change to before anything is loaded ("" = stay)
    // Options by name without the dashes: "--stick 10.0.0.1" and "--stick=10.0.0.1" both give
    // options["stick"] = "10.0.0.1"; a flag (see commandLineOptions) gives "".
    std::map<std::string, std::string> options;
    // Options that name nothing this program knows, as given; start-up reports them.
    std::vector<std::string> unknownOptions;
};

// The options the editor takes. Each takes a value (shown as `value` in the help) unless it is a
// flag.
struct CommandLineOption {
    const char* name;
    bool flag;
    const char* value;
    const char* help;
};
const std::vector<CommandLineOption>& commandLineOptions();

// The text of "mes --help": the usage line, then one line per option of commandLineOptions.
std::string commandLineHelp();

// What the command line asks to be printed instead of starting the editor: the help for
// "--help" or "-h", the version line for "--version" (help wins when both are given); "" when the
// editor should start.
std::string commandLineReply(const CommandLine& cl);

// Reads the arguments. Options ("--name value", "--name=value", flags alone, and "-h" for
// "--help") may stand anywhere and are taken out first; of the rest, argument 0 is the program and
// argument 1 the document (later ones are ignored). With fewer than two arguments nothing is set.
// The program's folder becomes the working directory so that the data folder beside it is found; a
// bare program name (no folder) leaves the working directory alone. A relative document path is
// made absolute against `initialCwd`, the directory the program was started in, because the working
// directory changes.
CommandLine parseCommandLine(const std::vector<std::string>& args, const std::string& initialCwd);

// How a command-line document is opened (its ending, ignoring case).
enum class DocumentKind { None, Project, PesDesign };
DocumentKind documentKind(const std::string& path);

// The process working directory ("" when unreadable) and changing it (false on failure).
std::string currentDirectory();
bool setCurrentDirectory(const std::string& path);

// The per-user preferences folder for this program, ending in "/", or "" when there is none.
std::string preferencesFolder();

// Whether the window is maximised now.
bool isWindowMaximizedNow(SDL_Window* window);
