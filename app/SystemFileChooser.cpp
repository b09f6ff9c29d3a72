#include "app/SystemFileChooser.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

#include "app/ChildProcess.h"
#include "app/DesktopHelper.h"
#include "app/ToolkitFileDialog.h"
#include "gui/Globals.h"
#include "gui/Log.h"
#include "gui/Toolkit.h"

namespace {

bool onKde() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    return desktop != nullptr && std::string(desktop).find("KDE") != std::string::npos;
}

// The folder a dialog starts in and the name it offers.
std::string startFolder(const FileRequest& r) {
    if (!r.initialPath.empty()) {
        const size_t slash = r.initialPath.find_last_of('/');
        if (slash != std::string::npos)
            return slash == 0 ? "/" : r.initialPath.substr(0, slash);
    }
    return r.initialFolder;
}

// Watches one dialog program from the main loop and reports its end.
class DialogWatch : public GUI_Heartbeat {
public:
    using Ended = std::function<void(const ChildProcess&)>;
    DialogWatch(std::unique_ptr<ChildProcess> child, Ended ended)
        : child_(std::move(child)), ended_(std::move(ended)) {}
    bool pump() override {
        if (!child_->poll())
            return true;
        Ended ended = std::move(ended_);
        ended(*child_);
        return false;
    }

private:
    std::unique_ptr<ChildProcess> child_;
    Ended ended_;
};

// Tries the dialog programs from `next` on; the toolkit's own dialog when none shows one.
void runRoute(std::shared_ptr<std::vector<std::vector<std::string>>> routes, size_t next,
              const FileRequest& request, FileChooser::Done done) {
    for (; next < routes->size(); ++next) {
        auto child = std::make_unique<ChildProcess>();
        if (!child->start((*routes)[next])) {
            GUI_LogNotice("FileChooser") << "cannot start " << (*routes)[next][0];
            continue;
        }
        GUI_AddHeartbeat(new DialogWatch(std::move(child), [routes, next, request,
                                                            done](const ChildProcess& ended) {
            switch (dialogExit(ended.exitStatus(), ended.output(), ended.errors())) {
                case DialogExit::Chosen:
                    done(chosenPathFromOutput(ended.output()));
                    return;
                case DialogExit::Cancelled:
                    done(std::nullopt);
                    return;
                case DialogExit::CannotShow:
                    GUI_LogNotice("FileChooser") << (*routes)[next][0] << " ended with "
                                                 << ended.exitStatus() << ": " << ended.errors();
                    runRoute(routes, next + 1, request, done);
                    return;
            }
        }));
        return;
    }
    openToolkitFileDialog(request, std::move(done));
}

}  // namespace

SystemFileChooser::SystemFileChooser() : helperPath(desktopHelperPath()) {}

void SystemFileChooser::choose(const FileRequest& request, Done done) {
    auto routes = std::make_shared<std::vector<std::vector<std::string>>>();
    if (nativeDialogs || onRealDisplay()) {
        const std::string parent = editorWindowId();
        if (!helperPath.empty() && programExists(helperPath))
            routes->push_back(helperCommand(helperPath, request, parent));
        if (desktopPrograms) {
            const bool zenity = programExists("zenity");
            const bool kdialog = programExists("kdialog");
            if (kdialog && onKde())
                routes->push_back(kdialogCommand(request, parent));
            if (zenity)
                routes->push_back(zenityCommand(request));
            if (kdialog && !onKde())
                routes->push_back(kdialogCommand(request, parent));
        }
    }
    runRoute(routes, 0, request, std::move(done));
}

// ---- command lines ----

std::string caseInsensitiveGlob(const std::string& pattern) {
    if (pattern == "*.*")
        return "*";
    std::string out;
    for (char c : pattern) {
        const bool upper = c >= 'A' && c <= 'Z';
        const bool lower = c >= 'a' && c <= 'z';
        if (upper || lower) {
            const char l = upper ? char(c - 'A' + 'a') : c;
            const char u = char(l - 'a' + 'A');
            out += '[';
            out += l;
            out += u;
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<std::string> helperCommand(const std::string& helper, const FileRequest& r,
                                       const std::string& parent) {
    std::vector<std::string> argv = {helper, r.mode == FileRequest::Save ? "save" : "open",
                                     "--title", r.title};
    for (const FileFilter& f : r.filters) {
        argv.insert(argv.end(), {"--filter", f.label, caseInsensitiveGlob(f.pattern)});
    }
    if (!r.initialPath.empty())
        argv.insert(argv.end(), {"--file", r.initialPath});
    const std::string folder = startFolder(r);
    if (!folder.empty())
        argv.insert(argv.end(), {"--folder", folder});
    if (r.fileMustExist)
        argv.push_back("--must-exist");
    if (r.confirmOverwrite)
        argv.push_back("--confirm-overwrite");
    if (!r.acceptLabel.empty())
        argv.insert(argv.end(), {"--accept", r.acceptLabel});
    if (!r.cancelLabel.empty())
        argv.insert(argv.end(), {"--cancel", r.cancelLabel});
    if (!parent.empty())
        argv.insert(argv.end(), {"--parent", parent});
    return argv;
}

std::vector<std::string> zenityCommand(const FileRequest& r) {
    std::vector<std::string> argv = {"zenity", "--file-selection", "--modal", "--title=" + r.title};
    if (r.mode == FileRequest::Save) {
        argv.push_back("--save");
        if (r.confirmOverwrite)
            argv.push_back("--confirm-overwrite");
    }
    if (!r.initialPath.empty()) {
        argv.push_back("--filename=" + r.initialPath);
    } else if (!startFolder(r).empty()) {
        argv.push_back("--filename=" + startFolder(r) + "/");
    }
    for (const FileFilter& f : r.filters)
        argv.push_back("--file-filter=" + f.label + " | " + caseInsensitiveGlob(f.pattern));
    return argv;
}

std::vector<std::string> kdialogCommand(const FileRequest& r, const std::string& parent) {
    std::vector<std::string> argv = {"kdialog", "--title", r.title};
    // kdialog reads the window id as a decimal number.
    if (!parent.empty())
        argv.insert(argv.end(),
                    {"--attach", std::to_string(std::strtoul(parent.c_str(), nullptr, 0))});
    argv.push_back(r.mode == FileRequest::Save ? "--getsavefilename" : "--getopenfilename");
    argv.push_back(!r.initialPath.empty() ? r.initialPath : startFolder(r));
    // KDE's filter list: one "patterns|label" per line, the first one selected.
    std::string filters;
    for (const FileFilter& f : r.filters) {
        if (!filters.empty())
            filters += "\n";
        filters += (f.pattern == "*.*" ? std::string("*") : f.pattern) + "|" + f.label;
    }
    argv.push_back(filters);
    return argv;
}

std::string chosenPathFromOutput(const std::string& output) {
    std::string path = output;
    if (!path.empty() && path.back() == '\n')
        path.pop_back();
    if (!path.empty() && path.back() == '\r')
        path.pop_back();
    return path;
}

DialogExit dialogExit(int exitStatus, const std::string& output, const std::string& errors) {
    if (exitStatus == 0)
        return chosenPathFromOutput(output).empty() ? DialogExit::Cancelled : DialogExit::Chosen;
    // GTK programs leave with status 1 both after Cancel and when they cannot open the display.
    if (exitStatus == 1 && errors.find("annot open display") == std::string::npos)
        return DialogExit::Cancelled;
    return DialogExit::CannotShow;
}
