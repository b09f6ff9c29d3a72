// mes-stick-sim: a stand-in for the MivoStick on this computer. See README.md in this folder.

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/stick-sim/StickServer.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: mes-stick-sim [--port P] [--store DIR] [--host ADDRESS]\n"
                 "                     [--slow MS] [--wrong] [--line-end] [--close-early]\n"
                 "                     [--refuse] [--reject-upload] [--slow-upload MS]\n"
                 "                     [--version TEXT]\n"
                 "  --port P        port to serve (8080)\n"
                 "  --store DIR     folder for uploaded files (mivo-stick)\n"
                 "  --host ADDRESS  address to bind (127.0.0.1; 0.0.0.0 for every interface)\n"
                 "  --slow MS       wait MS milliseconds before every answer\n"
                 "  --wrong         answer texts the editor must refuse\n"
                 "  --line-end      end the status texts with \\r\\n\n"
                 "  --close-early   close connections in the middle of the answer\n"
                 "  --refuse        refuse every connection\n"
                 "  --reject-upload answer the upload without the confirmation\n"
                 "  --slow-upload MS  wait MS milliseconds before the upload's answer\n"
                 "  --version TEXT  firmware version to report (1.05)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    sticksim::Options options;
    std::string host = "127.0.0.1";
    int port = 8080;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--port" && hasValue) {
            port = std::atoi(argv[++i]);
            if (port <= 0 || port > 65535)
                return usage();
        } else if (arg == "--store" && hasValue) {
            options.storeDir = argv[++i];
        } else if (arg == "--host" && hasValue) {
            host = argv[++i];
        } else if (arg == "--slow" && hasValue) {
            options.delayMs = std::atoi(argv[++i]);
        } else if (arg == "--version" && hasValue) {
            options.version = argv[++i];
        } else if (arg == "--wrong") {
            options.wrong = true;
        } else if (arg == "--line-end") {
            options.lineEnd = true;
        } else if (arg == "--close-early") {
            options.closeEarly = true;
        } else if (arg == "--refuse") {
            options.refuse = true;
        } else if (arg == "--reject-upload") {
            options.rejectUpload = true;
        } else if (arg == "--slow-upload" && hasValue) {
            options.uploadDelayMs = std::atoi(argv[++i]);
        } else {
            return usage();
        }
    }

    // The server's threads inherit this mask, so the stop signals reach only sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    sticksim::StickServer server(options, [](const std::string& line) {
        std::printf("mes-stick-sim: %s\n", line.c_str());
        std::fflush(stdout);
    });
    if (!server.start(host, port)) {
        std::fprintf(stderr, "mes-stick-sim: cannot use %s:%d\n", host.c_str(), port);
        return 1;
    }
    int signal = 0;
    sigwait(&stopSignals, &signal);
    std::printf("mes-stick-sim: stopping\n");
    server.stop();
    return 0;
}
