#include "app/Platform.h"

#include <unistd.h>

#include <climits>
#include <vector>

std::string pathBeforeLastSeparator(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    if (cut == std::string::npos)
        return path;
    return path.substr(0, cut);
}

std::string withTrailingSlash(const std::string& path) {
    if (path.empty() || path.back() == '/')
        return path;
    return path + "/";
}

std::string asciiLower(const std::string& s) {
    std::string out = s;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return out;
}

namespace {

bool isAbsolute(const std::string& path) {
    if (path.empty())
        return false;
    if (path[0] == '/' || path[0] == '\\')
        return true;
    // A drive letter ("D:\x"), as the program may be handed Windows paths.
    return path.size() >= 2 && path[1] == ':';
}

bool hasSeparator(const std::string& path) {
    return path.find_first_of("/\\") != std::string::npos;
}

}  // namespace

const std::vector<CommandLineOption>& commandLineOptions() {
    static const std::vector<CommandLineOption> options = {
        {"exit-after-first-frame", true, nullptr,
         "quit as soon as the first complete frame is on screen (start-up checks)"},
        {"gallery", false, "URL",
         "base URL of the cloud gallery's designs, e.g. http://127.0.0.1:8090 (see README)"},
        {"help", true, nullptr, "print this help and exit (also -h)"},
        {"stick", false, "HOST[:PORT]",
         "talk to the MivoStick at that address (mes-stick-sim, say) instead of the stick's own "
         "network; the stick then always counts as connected"},
        {"version", true, nullptr, "print the version and exit"},
    };
    return options;
}

std::string commandLineHelp() {
    std::string text = "Usage: mes [OPTION]... [FILE]\n";
    for (const CommandLineOption& o : commandLineOptions()) {
        text += "  --";
        text += o.name;
        if (o.value) {
            text += ' ';
            text += o.value;
        }
        text += "  ";
        text += o.help;
        text += '\n';
    }
    return text;
}

std::string commandLineReply(const CommandLine& cl) {
    if (cl.options.count("help"))
        return commandLineHelp();
    if (cl.options.count("version"))
        return std::string("mes ") + kEditorVersion + "\n";
    return "";
}

namespace {

// Splits the options off the arguments; what is left keeps its order.
std::vector<std::string> takeOptions(const std::vector<std::string>& all, CommandLine& cl) {
    std::vector<std::string> rest;
    for (size_t i = 0; i < all.size(); ++i) {
        const std::string& a = all[i];
        if (i > 0 && a == "-h") {
            cl.options["help"] = "";
            continue;
        }
        if (i == 0 || a.size() < 3 || a.compare(0, 2, "--") != 0) {
            rest.push_back(a);
            continue;
        }
        std::string name = a.substr(2);
        std::string value;
        const size_t eq = name.find('=');
        const bool inlineValue = eq != std::string::npos;
        if (inlineValue) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        const CommandLineOption* known = nullptr;
        for (const CommandLineOption& o : commandLineOptions()) {
            if (name == o.name)
                known = &o;
        }
        if (known == nullptr) {
            cl.unknownOptions.push_back(a);
            continue;
        }
        // A value-taking option swallows the next argument, whatever it looks like.
        if (!known->flag && !inlineValue && i + 1 < all.size())
            value = all[++i];
        cl.options[name] = value;
    }
    return rest;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& allArgs,
                             const std::string& initialCwd) {
    CommandLine cl;
    const std::vector<std::string> args = takeOptions(allArgs, cl);
    if (args.size() < 2)
        return cl;

    const std::string& program = args[0];
    cl.currentOpenPath = pathBeforeLastSeparator(program);
    // A bare program name names no folder: there is nothing to change to.
    if (hasSeparator(program)) {
        cl.workingDirectory = cl.currentOpenPath.empty() ? "/" : cl.currentOpenPath;
    }

    std::string document = args[1];
    if (!document.empty() && !isAbsolute(document) && !initialCwd.empty()) {
        document = withTrailingSlash(initialCwd) + document;
    }
    cl.currentOpenFile = document;
    cl.currentOpenPath = pathBeforeLastSeparator(document);
    return cl;
}

DocumentKind documentKind(const std::string& path) {
    const std::string lower = asciiLower(path);
    auto endsWith = [&](const char* suffix) {
        const std::string s(suffix);
        return lower.size() >= s.size() && lower.compare(lower.size() - s.size(), s.size(), s) == 0;
    };
    if (endsWith(".mpes"))
        return DocumentKind::Project;
    if (endsWith(".pes"))
        return DocumentKind::PesDesign;
    return DocumentKind::None;
}

std::string currentDirectory() {
    std::vector<char> buf(PATH_MAX + 1);
    if (getcwd(buf.data(), buf.size()) == nullptr)
        return "";
    return buf.data();
}

bool setCurrentDirectory(const std::string& path) {
    return !path.empty() && chdir(path.c_str()) == 0;
}

std::string preferencesFolder() {
    char* p = SDL_GetPrefPath("MivoShop", "MivoEMB");
    if (p == nullptr)
        return "";
    std::string path = withTrailingSlash(p);
    SDL_free(p);
    return path;
}

bool isWindowMaximizedNow(SDL_Window* window) {
    return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_MAXIMIZED) != 0;
}
