// Entry point of mes-cli: the table of sub-commands, and the dispatch to them.
//
// Adding a sub-command: write its function in a file of its own (declared in CliCommands.h) and
// add one entry to kCommands: name, one-line summary, operands, options (each with the
// placeholder of its value, one line of help, whether it is required and what the shell
// completion offers), the function, and optional notes. The function gets an Invocation whose
// arguments are already checked against the entry and throws UsageError for a bad value. The
// usage line, "mes-cli help NAME", "mes-cli NAME --help", the errors about unknown, missing or
// repeated arguments and the bash completion all follow from the entry.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/cli/CliCommands.h"
#include "app/cli/Completion.h"

namespace {

using cli::Complete;

int help(const cli::Invocation& in);

// Options that several commands share, written once.
const cli::Option kFont{"--font", "I", "the font, 0 to 14 (see mes-cli fonts)", true,
                        Complete::Fonts};
const cli::Option kSize{"--size", "S",
                        "the size step of the font (0 the first) or its height, as 10mm", true,
                        Complete::Sizes};
const cli::Option kLetterSpace{"--letter-space", "N",
                               "more space between letters, 0.1 mm, -2000 to 2000 (default 0)",
                               false, Complete::Nothing};
const cli::Option kWordSpace{"--word-space", "N",
                             "more space between words, 0.1 mm, -2000 to 2000 (default 0)", false,
                             Complete::Nothing};
const cli::Option kColor{"--color", "C",
                         "thread colour, the palette entry minus 1, 0 to 63 (default 10)", false,
                         Complete::Nothing};
const cli::Option kHoop{"--hoop", "WxH", "hoop size in millimetres, as 100x100 (the default)",
                        false, Complete::Nothing};
const cli::Option kOutPes{"-o", "OUT.pes", "the PES file to write", true};
const cli::Option kVerbose{"--verbose", nullptr, "print the trace lines"};

const std::vector<cli::Command> kCommands = {
    {"info",
     "Format, version, colours, stitches, bounds and size of a design",
     {{"FILE", "a PES or PEC file, a .mpes project or a MIVO buffer"}},
     {},
     cli::info},
    {"check",
     "What a machine will meet when it sews a design; status 1 when something would stop it",
     {{"FILE", "a PES or PEC file, or a .mpes project as it would go to the stick"}},
     {{"--hoop", "WxH", "the hoop in millimetres, as 100x100 (not checked without it)", false,
       Complete::Nothing},
      {"--spm", "N", "the machine's speed in stitches per minute, 1 to 10000 (default 600)", false,
       Complete::Nothing},
      {"--json", nullptr, "one JSON object instead of the report in words"}},
     cli::check,
     "Stops a machine: a design larger than the hoop, plain stitches longer than 12.1 mm.\n"
     "Warned about: stitches shorter than 0.3 mm (lock stitches aside), thread piling up.\n"},
    {"dump",
     "The layer the editor would import from a design, as JSON",
     {{"FILE", "a PES file or a MIVO buffer"}},
     {},
     cli::dump},
    {"convert",
     "A PES design or a project as PES version 1 or 5, or a PES design as a project",
     {{"IN", "a PES file or a .mpes project"}, {"OUT", "the file to write: .pes or .mpes"}},
     {{"--pes-version", "1|5", "PES version of a .pes OUT: 1 as in projects, 5 for the machine",
       false, Complete::Words, "1 5"},
      kHoop},
     cli::convert,
     "A .pes OUT needs --pes-version; a .mpes OUT gets a project holding the design of IN.pes.\n"
     "A project IN is merged into one design, as the export to the stick merges it.\n"},
    {"render",
     "A design or a project drawn into a PNG with the editor's renderer",
     {{"IN", "a PES file or a .mpes project"}},
     {{"-o", "OUT.png", "the picture to write", true},
      {"--mode", "MODE", "normal, 3d or underlay (default normal)", false, Complete::Words,
       "normal 3d underlay"},
      {"--scale", "S", "pixels per 0.1 mm, 0.001 to 100 (default 1; at most 8000 pixels a side)",
       false, Complete::Nothing}},
     cli::render},
    {"thumbnail",
     "A design or a project drawn on transparent, fitted into SIZE pixels (file managers)",
     {{"IN", "a PES file or a .mpes project"},
      {"OUT.png", "the picture to write"},
      {"SIZE", "the longer side of the picture in pixels, 1 to 2048", true, Complete::Words,
       "128 256 512 1024"}},
     {},
     cli::thumbnail,
     "The freedesktop thumbnailer entry installed with the package runs this command.\n"},
    {"text",
     "One line of text in a stitch font, set as a text layer, as a PES version 5 design",
     {{"TEXT", "the text (UTF-8, Thai and Latin)", true, Complete::Nothing}},
     {kFont, kSize, kLetterSpace, kWordSpace, kColor, kVerbose, kOutPes},
     cli::text},
    {"batch",
     "One PES version 5 design per name of a CSV list, each checked against the hoop",
     {{"NAMES.csv",
       "UTF-8 list: the text in the first column, the file name in an optional "
       "second"}},
     {kFont,
      kSize,
      kHoop,
      kColor,
      kLetterSpace,
      kWordSpace,
      {"-o", "DIR", "the folder to write the designs to (made when missing)", true,
       Complete::Folders}},
     cli::batch,
     "Without a second column the file name is made from the text. Blank rows are left out.\n"
     "A row that cannot be composed or does not fit the hoop is reported with its line and\n"
     "skipped; the others are written. The status is 1 when a row was skipped.\n"},
    {"fonts",
     "The stitch fonts: index, names, typefaces and sizes in millimetres",
     {},
     {{"--json", nullptr, "print the list as JSON"}},
     cli::fonts},
    {"shape",
     "A generated shape, as the tool box makes it, as a PES version 5 design",
     {{"KIND", "the shape, 0 to 8 or its name, as \"Circle/Eclipse\"", true, Complete::Words,
       "0 1 2 4 5 6 8"}},
     {{"--width", "CM", "width in cm, 0 to 100", true, Complete::Nothing},
      {"--height", "CM", "height in cm, 0 to 100", true, Complete::Nothing},
      {"--line-width", "CM", "line width in cm, 0 to 100 (default 0.2)", false, Complete::Nothing},
      {"--density", "MM", "satin spacing of the rounded shapes in mm, 0 to 100 (default 0.4)",
       false, Complete::Nothing},
      kColor,
      kOutPes},
     cli::shape},
    {"send",
     "A PES design sent to the MivoStick, as the editor's export sends it",
     {{"FILE", "a PES file of any version"}},
     {{"--stick", "HOST[:PORT]", "the stick's address (default its fixed one)", false,
       Complete::Nothing},
      kHoop,
      kVerbose},
     cli::send},
    {"version", "The version of mes-cli", {}, {}, cli::version},
    {"help",
     "The arguments and options of a command",
     {{"COMMAND", "the command", false, Complete::Commands}},
     {},
     help},
};

int help(const cli::Invocation& in) {
    if (in.operands().empty()) {
        std::fputs(cli::overviewText(kCommands).c_str(), stdout);
        return cli::kStatusDone;
    }
    const cli::Command* command = cli::findCommand(kCommands, in.operand(0));
    if (!command)
        throw cli::UsageError("unknown command \"" + in.operand(0) + "\"");
    std::fputs(cli::helpText(*command).c_str(), stdout);
    return cli::kStatusDone;
}

int unknownCommand(const std::string& name) {
    std::fprintf(stderr,
                 "mes-cli: unknown command \"%s\"\n"
                 "usage: mes-cli COMMAND [ARGUMENTS] [OPTIONS]; mes-cli --help lists the "
                 "commands\n",
                 name.c_str());
    return cli::kStatusUsage;
}

}  // namespace

int cli::version(const cli::Invocation&) {
    std::printf("mes-cli 1.00.50\n");
    return kStatusDone;
}

int main(int argc, char** argv) {
    const cli::Args all(argv + 1, argv + argc);
    if (all.empty()) {
        std::fputs(cli::overviewText(kCommands).c_str(), stderr);
        return cli::kStatusUsage;
    }
    if (all[0] == "--help" || all[0] == "-h") {
        std::fputs(cli::overviewText(kCommands).c_str(), stdout);
        return cli::kStatusDone;
    }
    if (all[0] == "--version")
        return cli::version(cli::Invocation(*cli::findCommand(kCommands, "version"), {}));
    if (all[0] == cli::kCompleteCommand) {
        for (const std::string& c :
             cli::completions(kCommands, cli::Args(all.begin() + 1, all.end())))
            std::printf("%s\n", c.c_str());
        return cli::kStatusDone;
    }
    const cli::Command* command = cli::findCommand(kCommands, all[0]);
    if (!command)
        return unknownCommand(all[0]);
    const cli::Args args(all.begin() + 1, all.end());
    if (cli::wantsHelp(args)) {
        std::fputs(cli::helpText(*command).c_str(), stdout);
        return cli::kStatusDone;
    }
    try {
        return command->run(cli::Invocation(*command, args));
    } catch (const cli::UsageError& e) {
        std::fprintf(stderr, "mes-cli %s: %s\n%s\n       mes-cli %s --help lists every option\n",
                     command->name, e.what(), cli::usageLine(*command).c_str(), command->name);
        return cli::kStatusUsage;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mes-cli %s: %s\n", command->name, e.what());
        return cli::kStatusFailed;
    }
}
