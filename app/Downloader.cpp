#include "app/Downloader.h"

#include "gui/Log.h"
#include "gui/Toolkit.h"

bool GUI_Downloader::download(const std::string& host, int port, const std::string& path,
                              Callback callback) {
    if (!HttpDownload::download(host, port, path, std::move(callback)))
        return false;
    GUI_Print("GUI_AddHeartbeat\n");
    GUI_AddHeartbeat(this);
    return true;
}

bool GUI_Downloader::start(const std::string& host, int port, const std::string& path,
                           Callback callback) {
    auto* downloader = new GUI_Downloader;
    if (downloader->download(host, port, path, std::move(callback)))
        return true;
    delete downloader;
    return false;
}
