// mes-cli send FILE [--stick HOST[:PORT]] [--hoop WxH] [--verbose]
//
// Sends a PES design to the MivoStick the way the editor's export does: mount the stick's card,
// write the design as a version 5 PES file, upload it, unmount. FILE is a PES file of any
// version; the hoop size (millimetres, 100x100 unless given) goes into the written file. The
// stick defaults to its fixed address and port; give --stick 127.0.0.1:8080 for mes-stick-sim.
// --verbose shows the link's trace lines.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/cli/CliCommands.h"
#include "app/cli/CliFiles.h"
#include "design/PESData.h"
#include "design/PESExport.h"
#include "formats/PES.h"
#include "net/MivoStickLink.h"

namespace {

bool parseEndpoint(const std::string& text, std::string& host, int& port) {
    size_t colon = text.rfind(':');
    host = text.substr(0, colon);
    if (colon != std::string::npos) {
        char* end = nullptr;
        long value = std::strtol(text.c_str() + colon + 1, &end, 10);
        if (*end != '\0' || value <= 0 || value > 65535)
            return false;
        port = int(value);
    }
    return !host.empty();
}

}  // namespace

namespace cli {

int send(const Invocation& in) {
    const std::string file = in.operand(0);
    std::string host = kStickAddress;
    int port = kStickPort;
    if (in.has("--stick") && !parseEndpoint(in.text("--stick"), host, port))
        throw in.badValue("--stick", "must be HOST or HOST:PORT with a port from 1 to 65535");
    int hoopW = 100;
    int hoopH = 100;
    hoopSize(in, "--hoop", hoopW, hoopH);
    const bool verbose = in.has("--verbose");

    std::vector<uint8_t> bytes;
    if (!readInput("send", file, bytes))
        return kStatusFailed;
    PES pes;
    FormatLog formatLog;
    PESData layer;
    if (!pes.loadFileContents(std::move(bytes), &formatLog) || !pes.hasSections() ||
        !layer.createFromPES(&pes, &formatLog)) {
        std::fprintf(stderr, "mes-cli send: %s is not a PES file this editor can read\n",
                     file.c_str());
        return kStatusFailed;
    }
    // As the editor's export does: one merged layer, written as version 5.
    PESData merged;
    merged.mergeLayer(layer);
    merged.computeBounds();
    if (merged.stitchCount == 0) {
        std::fprintf(stderr, "mes-cli send: %s has no stitches to send\n", file.c_str());
        return 1;
    }
    std::vector<uint8_t> pes5 = writePES5(merged, hoopW, hoopH);
    if (pes5.empty()) {
        std::fprintf(stderr, "mes-cli send: could not write %s as a version 5 PES file\n",
                     file.c_str());
        return 1;
    }

    const std::string stick = host + ":" + std::to_string(port);
    MivoStickLink link(host, port);
    std::string failure;  // the last transport error the link reported
    link.setTraceSink([&](const std::string& line) {
        if (line.rfind("Exception: ", 0) == 0)
            failure = line.substr(11, line.size() - 12);
        if (verbose)
            std::fputs(line.c_str(), stdout);
    });

    if (!link.mount()) {
        std::fprintf(stderr, "mes-cli send: the MivoStick at %s did not mount its card (%s)\n",
                     stick.c_str(),
                     failure.empty() ? ("reply: " + link.responseText()).c_str() : failure.c_str());
        return 1;
    }
    bool confirmed = false;
    try {
        link.upload(pes5.data(), pes5.size());
        confirmed = link.uploadConfirmed();
        if (!confirmed)
            failure = "reply: " + link.responseText();
    } catch (const happyhttp::Wobbly& e) {
        failure = e.what();
    }
    // The card is released whatever became of the upload.
    bool unmounted = link.unmount();

    if (!confirmed) {
        std::fprintf(stderr, "mes-cli send: the MivoStick at %s did not take %s (%s)\n",
                     stick.c_str(), file.c_str(), failure.c_str());
        return 1;
    }
    std::printf("Sent %s to the MivoStick at %s (%zu bytes, PES version 5).\n", file.c_str(),
                stick.c_str(), pes5.size());
    if (!unmounted) {
        std::fprintf(stderr, "mes-cli send: warning: the stick did not confirm the unmount\n");
    }
    return 0;
}

}  // namespace cli
