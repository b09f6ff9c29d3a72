#include "app/StickExport.h"

#include <SDL.h>

#include <exception>
#include <vector>

#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "design/Document.h"
#include "design/PESExport.h"
#include "formats/SewingCheck.h"
#include "gui/Localization.h"
#include "gui/Log.h"

namespace {

// The wait cursor while the transfer holds the main loop; the previous cursor comes back at the
// end of the scope.
class BusyCursor {
public:
    BusyCursor()
        : previous_(SDL_GetCursor()), busy_(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT)) {
        if (busy_)
            SDL_SetCursor(busy_);
    }
    ~BusyCursor() {
        if (busy_) {
            SDL_SetCursor(previous_);
            SDL_FreeCursor(busy_);
        }
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    SDL_Cursor* previous_;
    SDL_Cursor* busy_;
};

// Mounts the card, sends the design and unmounts; whether the stick confirmed the upload.
bool sendToStick(const Document& document) {
    if (!stickLink.mount())
        return false;
    bool confirmed = false;
    const std::vector<uint8_t> pes =
        writePES5(mergedDesign(document), settings.hoopWidth, settings.hoopHeight);
    if (!pes.empty()) {
        try {
            stickLink.upload(pes.data(), pes.size());
            confirmed = stickLink.uploadConfirmed();
        } catch (const happyhttp::Wobbly& e) {
            GUI_LogError("exportToStick") << e.what();
        } catch (const std::exception& e) {
            GUI_LogError("exportToStick") << e.what();
        }
    }
    // The card goes back to the machine whatever became of the upload.
    stickLink.unmount();
    return confirmed;
}

}  // namespace

bool agreedToSendDespiteCheck(const PESData& merged) {
    SewingCheckOptions options;
    options.hoopW = settings.hoopWidth;
    options.hoopH = settings.hoopHeight;
    const SewingReport report =
        checkSewingAsWritten(merged.blocks, merged.centerX, merged.centerY, options);
    if (!report.stopsMachine())
        return true;
    std::string text = localizedString("SEND_CHECK_MSG");
    for (const SewingIssue& issue : report.issues) {
        if (issue.stopsMachine)
            text += "\n\n" + sewingReasonText(issue, report, localizedString);
    }
    text += "\n\n" + localizedString("Send it to MivoStick anyway?");
    return askMessageBox(localizedString("Design Warning"), text, localizedString("Send Anyway"),
                         localizedString("Cancel"));
}

PESData mergedDesign(const Document& document) {
    PESData merged;
    for (const PESData& layer : document.layers)
        merged.mergeLayer(layer);
    merged.computeBounds();
    return merged;
}

bool exportToStick() {
    if (!stickConnected) {
        showMessageBox(
            MessageKind::Error, localizedString("Export Fail!"),
            localizedString("Cannot connect to MivoStick, please check your connection."));
        closeMainMenu();
        return false;
    }
    closeMainMenu();
    // A design the machine would refuse goes only when the user says so; Cancel sends nothing.
    if (theDocument != nullptr && theDocument->layerCount() > 0 &&
        !agreedToSendDespiteCheck(mergedDesign(*theDocument)))
        return false;
    bool confirmed = false;
    // An empty design is not sent: mounting would take the card from the machine for nothing.
    if (theDocument != nullptr && theDocument->layerCount() > 0) {
        BusyCursor busy;
        confirmed = sendToStick(*theDocument);
    }
    if (confirmed) {
        showMessageBox(MessageKind::Information, localizedString("Export Successful"),
                       localizedString("Current Embroidery file has been send to MivoStick"));
    } else {
        showMessageBox(MessageKind::Error, localizedString("Export Fail"),
                       localizedString("Please check MivoStick connection"));
    }
    return confirmed;
}
