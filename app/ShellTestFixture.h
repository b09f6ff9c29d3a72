// Test fixture of the shell's commands: the toolkit on SDL's dummy driver (ToolkitFixture), the
// translations of the data folder, a design document over a headless layer list installed as
// theDocument, a fresh temporary folder (also the preferences folder), the shell's state reset,
// and the message boxes recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/FileChooser.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "design/Document.h"
#include "design/HeadlessLayerList.h"
#include "gui/FileUtils.h"
#include "gui/Localization.h"
#include "gui/ToolkitTestFixture.h"

struct RecordedBox {
    MessageKind kind;
    std::string title;
    std::string text;
};

class ShellFixture : public ToolkitFixture {
protected:
    void SetUp() override {
        ToolkitFixture::SetUp();
        namespace fs = boost::filesystem;
        temp = fs::temp_directory_path() / fs::unique_path("mes-shell-%%%%-%%%%");
        fs::create_directories(temp);
        for (const char* code : {"en", "th", "jp"}) {
            const std::string file =
                std::string(MES_SOURCE_DIR) + "/data/" + code + "/Localizable.strings";
            loadLocalizableStringsFromBuffer(code, jsBufferFromFile(file));
        }
        currentLanguage = "en";
        currentOpenFile.clear();
        currentOpenPath.clear();
        prefPath = folder() + "/";
        settings = Settings();
        stickConnected = false;
        document = std::make_unique<Document>(list);
        theDocument = document.get();
        messageBoxSink = [this](MessageKind kind, const std::string& title,
                                const std::string& text) {
            boxes.push_back({kind, title, text});
        };
        questionBoxSink = [this](const std::string& title, const std::string& text) {
            questions.push_back({MessageKind::Warning, title, text});
            return questionAnswer;
        };
    }

    void TearDown() override {
        messageBoxSink = nullptr;
        questionBoxSink = nullptr;
        fileChooser = nullptr;
        theDocument = nullptr;
        document.reset();
        ToolkitFixture::TearDown();
        clearLocalizableStrings();
        currentLanguage = "en";
        boost::system::error_code ec;
        boost::filesystem::remove_all(temp, ec);
    }

    // A root view as large as the editor's window (800 x 600 points), so that the dialogs fit.
    static void useEditorSizedRoot() {
        GUI_TopView->set_size(800, 600);
        GUI_windowWidth = 800;
        GUI_windowHeight = 600;
    }

    std::string folder() const { return temp.string(); }
    std::string path(const std::string& name) const { return (temp / name).string(); }

    static std::vector<uint8_t> readFile(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    }
    static void writeFile(const std::string& p, const std::vector<uint8_t>& bytes) {
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    boost::filesystem::path temp;
    HeadlessLayerList list;
    std::unique_ptr<Document> document;
    std::vector<RecordedBox> boxes;
    // The two-button boxes asked, and what the "user" answers them.
    std::vector<RecordedBox> questions;
    bool questionAnswer = true;
};

// A chooser that answers every request with the next prepared answer (nothing = Cancel) and
// keeps the requests it was given.
class AnsweringChooser : public FileChooser {
public:
    void choose(const FileRequest& request, Done done) override {
        requests.push_back(request);
        std::optional<std::string> answer;
        if (!answers.empty()) {
            answer = answers.front();
            answers.erase(answers.begin());
        }
        done(answer);
    }
    std::vector<std::optional<std::string>> answers;
    std::vector<FileRequest> requests;
};
