// Sub-commands whose code has not landed yet. Each moves to its own file when it is written.

#include <cstdio>

#include "app/cli/CliCommands.h"

namespace cli {

static int notYet(const char* name) {
    std::fprintf(stderr, "mes-cli %s: not available in this build\n", name);
    return 1;
}

int info(const Args&) { return notYet("info"); }
int dump(const Args&) { return notYet("dump"); }
int convert(const Args&) { return notYet("convert"); }

}  // namespace cli
