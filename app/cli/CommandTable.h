// The sub-commands of mes-cli as one table. Each entry names a command's operands and options
// once; the argument parser, the usage line, the help text, the errors about arguments and the
// shell completion are all made from it, so that no command keeps its own copy of its usage.
//
// Pure code: strings in, strings and values out. Printing happens in main.cpp.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

// Arguments after the sub-command name, as UTF-8 strings.
using Args = std::vector<std::string>;

// Process statuses of every command, documented in the README.
constexpr int kStatusDone = 0;
constexpr int kStatusFailed = 1;  // the work failed; the command said why on standard error
constexpr int kStatusUsage = 2;   // wrong arguments; see UsageError

// Values offered by the shell completion for an operand or an option value.
enum class Complete {
    Files,     // file names (the shell's own completion)
    Folders,   // folder names
    Nothing,   // a number or free text: nothing to offer
    Words,     // the words of `words`, separated by spaces
    Fonts,     // the font indexes
    Sizes,     // the sizes of the font given by --font: steps and millimetres
    Commands,  // the sub-command names
};

struct Operand {
    const char* name;  // as shown in the usage line and in "missing NAME" ("FILE", "TEXT")
    const char* help;  // one line
    bool required = true;
    Complete complete = Complete::Files;
    const char* words = nullptr;  // for Complete::Words
};

struct Option {
    const char* name;   // "--font" or "-o"
    const char* value;  // its value as shown in the usage ("I", "OUT.pes"); null for a switch
    const char* help;   // one line, with the range and the default
    bool required = false;
    Complete complete = Complete::Files;
    const char* words = nullptr;  // for Complete::Words
};

class Invocation;

struct Command {
    const char* name;
    const char* summary;  // one line, for the command list of "mes-cli --help"
    std::vector<Operand> operands;
    std::vector<Option> options;
    int (*run)(const Invocation&);
    const char* notes = nullptr;  // more lines for the help text, each ending in '\n'
};

// An error in the arguments: the message names the argument and what is wrong with it
// ("--font 99: fonts are 0 to 14, see mes-cli fonts"). The command line answers it with status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One command's arguments, checked against its table entry: every option is known and given at
// most once, every value is present, the operands are neither too few nor too many, and every
// required option is there. The accessors below convert values and throw UsageError with the
// option and its value in the message.
class Invocation {
public:
    // Throws UsageError. "-h"/"--help" are not handled here (see wantsHelp). "--" ends the
    // options; "--name=value" is the same as "--name value".
    Invocation(const Command& command, const Args& args);

    // The operands in order; optional ones at the end may be missing.
    const std::vector<std::string>& operands() const { return operands_; }
    // Operand i, or "" when it was not given.
    std::string operand(std::size_t i) const;

    bool has(const std::string& option) const;
    // The option's value, or fallback when it was not given.
    std::string text(const std::string& option, const std::string& fallback = "") const;
    // A whole number within lo..hi. Out of range, the message is "OPTION VALUE: " followed by
    // rangeText when given, else "must be a whole number from LO to HI".
    int integer(const std::string& option, int lo, int hi, int fallback,
                const char* rangeText = nullptr) const;
    // A decimal number within lo..hi (no exponent, no infinity).
    double number(const std::string& option, double lo, double hi, double fallback) const;
    // One of the words (the value as typed is returned).
    std::string choice(const std::string& option, const std::vector<std::string>& words,
                       const std::string& fallback) const;

    // A UsageError about the option as given: "OPTION VALUE: what".
    UsageError badValue(const std::string& option, const std::string& what) const;

private:
    const Option& entryFor(const std::string& option) const;

    const Command* command_;
    std::vector<std::string> operands_;
    std::map<std::string, std::string> values_;  // option name -> value ("" for switches)
};

// Whether the arguments ask for the command's help ("-h" or "--help" before any "--").
bool wantsHelp(const Args& args);

// "mes-cli text TEXT --font I --size S -o OUT.pes [OPTIONS]".
std::string usageLine(const Command& command);
// The usage line, the summary, one line per operand and option, and the notes.
std::string helpText(const Command& command);
// The overview of "mes-cli --help": every command with its summary and the exit statuses.
std::string overviewText(const std::vector<Command>& commands);

// The entry of that name, or null.
const Command* findCommand(const std::vector<Command>& commands, const std::string& name);
// The command's option of that name ("--font", "-o"), or null.
const Option* findOption(const Command& command, const std::string& name);

// Whether an argument names an option: "-o", "--font", "--font=3"; but not "-" (standard input
// in many tools) nor a negative number, which are operands.
bool looksLikeOption(const std::string& argument);

// A whole number in decimal digits with an optional sign ("12", "+12", "-3"), nothing before or
// after it, within the range of int. Every number the commands take is read this way.
bool parseWhole(const std::string& text, int& out);

// Whether the path ends in the extension (".pes"), compared without regard to ASCII case.
bool hasExtension(const std::string& path, const char* extension);

// A hoop size "WxH" in millimetres, each 1 to 1000. Throws UsageError naming the option.
void hoopSize(const Invocation& in, const std::string& option, int& width, int& height);

// A thread colour as a layer's colorIndex: the palette entry minus 1, 0 to 63.
int colorOption(const Invocation& in, int fallback, const std::string& option = "--color");

}  // namespace cli
