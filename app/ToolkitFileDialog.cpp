// Section index: path rules; construction; events and actions.
#include "app/ToolkitFileDialog.h"

#include <boost/filesystem.hpp>

#include <algorithm>
#include <cstdlib>

#include "app/Platform.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"
#include "gui/Localization.h"
#include "gui/StringUtils.h"
#include "gui/ToolBar.h"

namespace fs = boost::filesystem;

namespace {

constexpr int kWidth = 520, kHeight = 420;  // points
constexpr int kBarHeight = 44;
const SDL_Color kBarColor = {30, 38, 56, 187};
const SDL_Color kCaptionColor = {90, 90, 90, 255};
const SDL_Color kMessageColor = {200, 30, 30, 255};
// A folder of more entries than this shows the first ones only: every row is a view.
constexpr size_t kMaxRows = 3000;
// Two clicks on the same file row within this time take the file.
constexpr Uint32 kDoubleClickMs = 500;

std::string lowerAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return s;
}

bool isFolder(const std::string& path) {
    boost::system::error_code ec;
    return fs::is_directory(fs::path(path), ec);
}

bool isFile(const std::string& path) {
    boost::system::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
}

std::string parentOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// The end of a text that fits into maxPx pixels of font 0, with "…" before it when cut.
std::string fitTail(const std::string& text, int maxPx) {
    TTF_Font* font = GUI_Font(0);
    int w = 0, h = 0;
    if (font == nullptr || !GUI_SizeText(font, text, &w, &h) || w <= maxPx)
        return text;
    size_t start = 0;
    while (start < text.size()) {
        start = GUI_Utf8::nextChar(text, start);
        const std::string tail = "\xE2\x80\xA6" + text.substr(start);  // "…"
        if (GUI_SizeText(font, tail, &w, &h) && w <= maxPx)
            return tail;
    }
    return "\xE2\x80\xA6";
}

GUI_Label* caption(GUI_View* parent, const char* key, int x, int y) {
    return new GUI_Label(parent, localizedString(key).c_str(), x, y, 0, 0, kCaptionColor,
                         TITLE_CENTER_V, 0);
}

GUI_Button* barButton(GUI_View* bar, const std::string& text, GUI_Button::ClickCallback onClick) {
    auto* b = new GUI_Button(bar, text.c_str(), 0, 0, 0, 30, GUI_Black,
                             TITLE_CENTER_H | TITLE_CENTER_V, 0, std::move(onClick));
    b->bgColor = GUI_Grey;
    b->cornerRadius = 5;
    b->borderWidth = 0;
    b->set_padding(0, 14, 0, 14);
    b->set_margin(5, 5, 5, 5);
    b->set_align_flags(ALIGN_RIGHT | ALIGN_CENTER_V);
    return b;
}

}  // namespace

// ---- path rules ----

std::string resolveTypedPath(const std::string& folder, const std::string& typed) {
    std::string path;
    if (!typed.empty() && typed[0] == '/') {
        path = typed;
    } else if (typed == "~" || typed.compare(0, 2, "~/") == 0) {
        const char* home = std::getenv("HOME");
        path = std::string(home ? home : "") + typed.substr(1);
    } else {
        path = joinPath(folder, typed);
    }
    // Resolve "." and ".." by name, so that "../x" typed in a folder reads as it looks.
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& p : parts)
        out += "/" + p;
    return out.empty() ? "/" : out;
}

bool listFolder(const std::string& folder, const std::string& pattern,
                std::vector<std::string>& rows) {
    rows.clear();
    if (folder != "/")
        rows.push_back("../");
    std::vector<std::string> folders, files;
    boost::system::error_code ec;
    fs::directory_iterator it(fs::path(folder), ec);
    if (ec)
        return false;
    for (; it != fs::directory_iterator() && folders.size() + files.size() < kMaxRows;
         it.increment(ec)) {
        if (ec)
            break;
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.')
            continue;
        boost::system::error_code typeError;
        if (fs::is_directory(it->path(), typeError)) {
            folders.push_back(name + "/");
        } else if (matchesFilePattern(name, pattern)) {
            files.push_back(name);
        }
    }
    auto byName = [](const std::string& a, const std::string& b) {
        const std::string la = lowerAscii(a), lb = lowerAscii(b);
        return la != lb ? la < lb : a < b;
    };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    rows.insert(rows.end(), folders.begin(), folders.end());
    rows.insert(rows.end(), files.begin(), files.end());
    return true;
}

// ---- construction ----

ToolkitFileDialog::ToolkitFileDialog(GUI_View* parent, const FileRequest& request,
                                     FileChooser::Done done)
    : GUI_Dialog(parent, request.title.c_str(), 0,
                 std::min(kWidth, std::max(GUI_windowWidth - 20, 300)),
                 std::min(kHeight, std::max(GUI_windowHeight - 20, 300))),
      request_(request),
      done_(std::move(done)) {
    GUI_modalView = this;
    GUI_closeModalOnOutsideClick = false;
    draggable = false;
    layoutMode = LAYOUT_COLUMN;
    const int wPt = w / GUI_scale, hPt = h / GUI_scale;

    auto* header = new GUI_ToolBar(this, TOOLBAR_TOP, 36);
    header->bgColor = kBarColor;
    header->add_label(0, request.title, "")->set_text_color(GUI_White);

    auto* content = new GUI_View(this, "Content", 0, 0, -1, -1, GUI_White);
    content->borderWidth = 0;
    content->draggable = false;
    const int listH = hPt - 36 - kBarHeight - 160;
    caption(content, "Folder:", 10, 8);
    folderLabel = new GUI_Label(content, "", 100, 8, 0, 0, GUI_Black, TITLE_CENTER_V, 0);
    listing = new GUI_List(
        content, std::vector<std::string>{"../"}, 10, 36, wPt - 20, listH, 25,
        [this](GUI_List*, const char*, int index) { chooseRow(index); }, 0);
    listing->noHover = true;
    listing->bgColor = GUI_White;
    listing->borderColor = GUI_Grey;

    const int rowY = 36 + listH + 10;
    caption(content, "File name:", 10, rowY + 4);
    const std::string name =
        request.initialPath.empty()
            ? ""
            : request.initialPath.substr(request.initialPath.find_last_of('/') + 1);
    nameField = new GUI_EditText(content, name.c_str(), 100, rowY, wPt - 110, 30, GUI_Black,
                                 TITLE_CENTER_V, 0);
    caption(content, "File type:", 10, rowY + 42);
    std::vector<std::string> labels;
    for (const FileFilter& f : request.filters)
        labels.push_back(f.label);
    if (labels.empty())
        labels.push_back("*");
    filterDropdown =
        new GUI_Dropdown(content, "", labels, 100, rowY + 38, wPt - 110, 25, GUI_Black);
    filterDropdown->select(0, false);
    filterDropdown->onSelect = [this](GUI_Dropdown*, GUI_List*, int, const char*) {
        enterFolder(folder_);
    };
    messageLabel =
        new GUI_Label(content, "", 10, rowY + 74, 0, 0, kMessageColor, TITLE_CENTER_V, 0);

    auto* bottom = new GUI_ToolBar(this, TOOLBAR_BOTTOM, kBarHeight);
    bottom->bgColor = kBarColor;
    const std::string cancelText =
        request.cancelLabel.empty() ? localizedString("Cancel") : request.cancelLabel;
    const std::string okText = !request.acceptLabel.empty()        ? request.acceptLabel
                               : request.mode == FileRequest::Save ? localizedString("Save")
                                                                   : localizedString("Open");
    cancelButton = barButton(bottom, cancelText, [this](GUI_Button*) { cancel(); });
    okButton = barButton(bottom, okText, [this](GUI_Button*) { accept(); });
    update_layout();
    center_in_parent();

    std::string start =
        request.initialPath.empty() ? request.initialFolder : parentOf(request.initialPath);
    if (start.empty())
        start = currentDirectory();
    enterFolder(resolveTypedPath(currentDirectory(), start));
    nameField->focus();
}

// ---- events and actions ----

bool ToolkitFileDialog::handle_event(SDL_Event* e) {
    if (finished_)
        return GUI_Dialog::handle_event(e);
    if (e->type == SDL_KEYDOWN) {
        switch (e->key.keysym.scancode) {
            case SDL_SCANCODE_RETURN:
            case SDL_SCANCODE_KP_ENTER:
                accept();
                return true;
            case SDL_SCANCODE_ESCAPE:
                cancel();
                return true;
            default:
                break;
        }
    }
    if (e->type == SDL_WINDOWEVENT && e->window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        center_in_parent();
    return GUI_Dialog::handle_event(e);
}

void ToolkitFileDialog::enterFolder(const std::string& folder) {
    folder_ = folder;
    const int filter = std::max(0, filterDropdown->selectedIndex);
    const std::string pattern =
        filter < int(request_.filters.size()) ? request_.filters[size_t(filter)].pattern : "*";
    const bool readable = listFolder(folder_, pattern, rows_);
    std::vector<std::string> shown;
    for (const std::string& r : rows_)
        shown.push_back(r == "---" ? "--- " : r);  // "---" alone would be a separator row
    listing->setCells(shown);
    listing->selectedIndex = -1;
    lastRow_ = -1;
    folderLabel->set_text(fitTail(folder_, (w - 110 * GUI_scale)));
    showMessage(readable ? "" : localizedString("The folder cannot be read."));
}

void ToolkitFileDialog::chooseRow(int index) {
    if (index < 0 || index >= int(rows_.size()))
        return;
    const std::string row = rows_[size_t(index)];
    if (row == "../") {
        enterFolder(parentOf(folder_));
    } else if (!row.empty() && row.back() == '/') {
        enterFolder(joinPath(folder_, row.substr(0, row.size() - 1)));
    } else {
        const Uint32 now = SDL_GetTicks();
        const bool again = index == lastRow_ && now - lastRowTicks_ <= kDoubleClickMs;
        lastRow_ = index;
        lastRowTicks_ = now;
        nameField->set_text(row);
        if (again) {
            accept();
            return;
        }
    }
    nameField->focus();
}

void ToolkitFileDialog::accept() {
    if (finished_)
        return;
    const std::string typed = GUI_Trim(nameField->get_text());
    if (typed.empty())
        return;
    const std::string path = resolveTypedPath(folder_, typed);
    if (isFolder(path)) {
        enterFolder(path);
        nameField->set_text(
            request_.mode == FileRequest::Save
                ? request_.initialPath.substr(request_.initialPath.find_last_of('/') + 1)
                : "");
        return;
    }
    if (request_.mode == FileRequest::Open) {
        if (request_.fileMustExist && !isFile(path)) {
            showMessage(localizedString("The file does not exist."));
            return;
        }
    } else {
        if (!isFolder(parentOf(path))) {
            showMessage(localizedString("The folder does not exist."));
            return;
        }
        boost::system::error_code ec;
        if (request_.confirmOverwrite && fs::exists(fs::path(path), ec) &&
            replaceConfirmed_ != path) {
            replaceConfirmed_ = path;
            showMessage(
                localizedString("The file already exists. Press Save again to replace it."));
            return;
        }
    }
    finish(path);
}

void ToolkitFileDialog::cancel() {
    finish(std::nullopt);
}

void ToolkitFileDialog::showMessage(const std::string& text) {
    messageLabel->set_text(text);
}

void ToolkitFileDialog::finish(const std::optional<std::string>& path) {
    if (finished_)
        return;
    finished_ = true;
    nameField->unfocus();
    filterDropdown->close_popup();
    if (GUI_modalView == this) {
        GUI_modalView = nullptr;
        GUI_closeModalOnOutsideClick = true;
    }
    hide();
    close();
    FileChooser::Done done = std::move(done_);
    if (done)
        done(path);
}

void openToolkitFileDialog(const FileRequest& request, FileChooser::Done done) {
    if (GUI_TopView == nullptr) {
        done(std::nullopt);
        return;
    }
    new ToolkitFileDialog(GUI_TopView, request, std::move(done));
}
