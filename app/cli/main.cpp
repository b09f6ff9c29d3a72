// Entry point of mes-cli: picks the sub-command by its first argument.

#include <cstdio>
#include <cstring>

#include "app/cli/CliCommands.h"

namespace {

struct SubCommand {
    const char* name;
    const char* usage;
    int (*run)(const cli::Args&);
};

// One row per sub-command; the usage text is what "mes-cli" alone prints.
const SubCommand kCommands[] = {
    {"version", "version", cli::version},
    {"send", "send FILE [--stick HOST[:PORT]] [--hoop WxH] [--verbose]", cli::send},
    {"convert", "convert IN OUT --pes-version 1|5 [--hoop WxH] | convert IN.pes OUT.mpes",
     cli::convert},
    {"info", "info FILE", cli::info},
    {"dump", "dump FILE", cli::dump},
    {"shape",
     "shape KIND --width CM --height CM [--line-width CM] [--density MM] [--color C] -o OUT.pes",
     cli::shape},
    {"text",
     "text \"TEXT\" --font I --size J [--letter-space N] [--word-space N] [--color C] "
     "[--verbose] -o OUT.pes",
     cli::text},
    {"render", "render IN.pes|IN.mpes -o OUT.png [--mode normal|3d|underlay] [--scale S]",
     cli::render},
    {"thumbnail", "thumbnail IN.pes|IN.mpes OUT.png SIZE", cli::thumbnail},
};

int usage() {
    std::fprintf(stderr, "usage: mes-cli COMMAND ...\ncommands:\n");
    for (const auto& c : kCommands)
        std::fprintf(stderr, "  mes-cli %s\n", c.usage);
    return 2;
}

}  // namespace

int cli::version(const cli::Args&) {
    std::printf("mes-cli 1.00.50\n");
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    for (const auto& c : kCommands) {
        if (std::strcmp(argv[1], c.name) == 0)
            return c.run(cli::Args(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "mes-cli: unknown command \"%s\"\n", argv[1]);
    return usage();
}
