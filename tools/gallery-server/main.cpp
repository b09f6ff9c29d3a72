// mes-gallery-server: serves the designs of the cloud gallery on this computer. See README.md in
// this folder.

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "net/GalleryUrl.h"
#include "tools/gallery-server/GalleryServer.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: mes-gallery-server [--port P] [--root DIR] [--host ADDRESS]\n"
                 "  --port P        port to serve (%d)\n"
                 "  --root DIR      folder of the designs (the \"gallery\" folder beside this "
                 "program)\n"
                 "  --host ADDRESS  address to bind (127.0.0.1; 0.0.0.0 for every interface)\n",
                 gallery::kLocalServerPort);
    return 2;
}

// The "gallery" folder beside the executable, where the build puts the designs.
std::filesystem::path defaultRoot(const char* argv0) {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        exe = std::filesystem::absolute(argv0, error);
    return exe.parent_path() / "gallery";
}

}  // namespace

int main(int argc, char** argv) {
    std::string host = "127.0.0.1";
    int port = gallery::kLocalServerPort;
    std::filesystem::path root = defaultRoot(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--port" && hasValue) {
            char* end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            // 0 picks a free port (the first output line names it).
            if (*end != '\0' || value < 0 || value > 65535)
                return usage();
            port = int(value);
        } else if (arg == "--root" && hasValue) {
            root = std::filesystem::u8path(argv[++i]);
        } else if (arg == "--host" && hasValue) {
            host = argv[++i];
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

    galleryserver::GalleryServer server(root, [](const std::string& line) {
        std::printf("mes-gallery-server: %s\n", line.c_str());
        std::fflush(stdout);
    });
    if (!server.start(host, port)) {
        std::fprintf(stderr, "mes-gallery-server: cannot serve %s on %s:%d\n",
                     root.u8string().c_str(), host.c_str(), port);
        return 1;
    }
    int signal = 0;
    sigwait(&stopSignals, &signal);
    std::printf("mes-gallery-server: stopping\n");
    server.stop();
    return 0;
}
