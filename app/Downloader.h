// GUI_Downloader: a download run by the main loop. Once its request has gone out it sits on the
// loop's heartbeat list (GUI_AddHeartbeat), which pumps it once a frame, so the interface keeps
// drawing while the bytes arrive (one poll of the connection, at most 2048 bytes, per frame).
// When the transfer ends its callback runs once, its last pump returns false, and the loop takes
// it off the list and deletes it together with the callback.
//
// Ownership: the creator owns it until download() succeeds; from then on the main loop does.
// Main thread only.
#pragma once

#include <string>

#include "gui/Globals.h"
#include "net/HttpDownload.h"

class GUI_Downloader : public GUI_Heartbeat, public HttpDownload {
public:
    // Starts a GET of http://host:port + path and hands the downloader to the main loop. False
    // when the request could not be sent: the callback has then already run (result
    // Unreachable) and the caller still owns the downloader.
    bool download(const std::string& host, int port, const std::string& path, Callback callback);

    bool pump() override { return HttpDownload::pump(); }

    // A downloader that belongs to the main loop from the start: created, started, and deleted
    // at once when the request cannot be sent (after its callback ran). Returns whether the
    // request went out.
    static bool start(const std::string& host, int port, const std::string& path,
                      Callback callback);
};
