#include "app/cli/CommandTable.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace cli {

namespace {

bool startsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

// "--font I" or "--verbose" as shown in usage and help.
std::string optionWithValue(const Option& o) {
    std::string s = o.name;
    if (o.value)
        s += std::string(" ") + o.value;
    return s;
}

}  // namespace

bool looksLikeOption(const std::string& a) {
    if (a.size() < 2 || a[0] != '-')
        return false;
    return !(std::isdigit(static_cast<unsigned char>(a[1])) || a[1] == '.');
}

bool parseWhole(const std::string& text, int& out) {
    // from_chars takes a minus sign but not a plus.
    const bool plus = startsWith(text, "+");
    const char* first = text.data() + (plus ? 1 : 0);
    const char* last = text.data() + text.size();
    if (first == last ||
        ((plus || *first != '-') && !std::isdigit(static_cast<unsigned char>(*first))))
        return false;
    int n = 0;
    const auto r = std::from_chars(first, last, n);
    if (r.ec != std::errc() || r.ptr != last)
        return false;
    out = n;
    return true;
}

Invocation::Invocation(const Command& command, const Args& args) : command_(&command) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !looksLikeOption(a)) {
            if (operands_.size() >= command.operands.size()) {
                throw UsageError(command.operands.empty() ? "unexpected argument \"" + a + "\": " +
                                                                command.name + " takes no operands"
                                                          : "unexpected argument \"" + a + "\"");
            }
            operands_.push_back(a);
            continue;
        }
        const std::size_t equals = startsWith(a, "--") ? a.find('=') : std::string::npos;
        const std::string name = a.substr(0, equals);
        const Option* found = findOption(command, name);
        if (!found)
            throw UsageError("unknown option " + name);
        if (values_.count(name))
            throw UsageError(name + " is given twice");
        if (!found->value) {
            if (equals != std::string::npos)
                throw UsageError(name + " takes no value");
            values_[name] = "";
        } else if (equals != std::string::npos) {
            values_[name] = a.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            values_[name] = args[++i];
        } else {
            throw UsageError(name + " needs a value: " + optionWithValue(*found));
        }
    }
    for (std::size_t i = operands_.size(); i < command.operands.size(); ++i) {
        if (command.operands[i].required)
            throw UsageError(std::string("missing ") + command.operands[i].name);
    }
    for (const Option& o : command.options) {
        if (o.required && !values_.count(o.name))
            throw UsageError("missing " + optionWithValue(o));
    }
}

std::string Invocation::operand(std::size_t i) const {
    return i < operands_.size() ? operands_[i] : std::string();
}

const Option& Invocation::entryFor(const std::string& option) const {
    if (const Option* o = findOption(*command_, option))
        return *o;
    // A command asked for an option its table entry does not have: a mistake in this program.
    throw std::logic_error("mes-cli " + std::string(command_->name) + " has no option " + option);
}

bool Invocation::has(const std::string& option) const {
    entryFor(option);
    return values_.count(option) != 0;
}

std::string Invocation::text(const std::string& option, const std::string& fallback) const {
    entryFor(option);
    const auto it = values_.find(option);
    return it == values_.end() ? fallback : it->second;
}

UsageError Invocation::badValue(const std::string& option, const std::string& what) const {
    const std::string value = text(option);
    return UsageError(option + " " + (value.empty() ? "\"\"" : value) + ": " + what);
}

int Invocation::integer(const std::string& option, int lo, int hi, int fallback,
                        const char* rangeText) const {
    if (!has(option))
        return fallback;
    const std::string v = text(option);
    const std::string range = rangeText ? rangeText
                                        : "must be a whole number from " + std::to_string(lo) +
                                              " to " + std::to_string(hi);
    int n = 0;
    if (!parseWhole(v, n) || n < lo || n > hi)
        throw badValue(option, range);
    return n;
}

double Invocation::number(const std::string& option, double lo, double hi, double fallback) const {
    if (!has(option))
        return fallback;
    const std::string v = text(option);
    char buf[32];
    const std::string range = [&] {
        std::snprintf(buf, sizeof buf, "%g to %g", lo, hi);
        return std::string("must be a number from ") + buf;
    }();
    // strtod would also take "inf", "nan", hexadecimal and exponents; plain decimals only.
    const bool plain = !v.empty() && std::all_of(v.begin(), v.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+';
    });
    char* end = nullptr;
    const double d = plain ? std::strtod(v.c_str(), &end) : 0.0;
    if (!plain || *end != '\0' || !std::isfinite(d) || d < lo || d > hi)
        throw badValue(option, range);
    return d;
}

std::string Invocation::choice(const std::string& option, const std::vector<std::string>& words,
                               const std::string& fallback) const {
    if (!has(option))
        return fallback;
    const std::string v = text(option);
    if (std::find(words.begin(), words.end(), v) != words.end())
        return v;
    std::string list;
    for (std::size_t i = 0; i < words.size(); ++i)
        list += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + words[i];
    throw badValue(option, "must be " + list);
}

bool wantsHelp(const Args& args) {
    for (const std::string& a : args) {
        if (a == "--")
            return false;
        if (a == "-h" || a == "--help")
            return true;
    }
    return false;
}

std::string usageLine(const Command& command) {
    std::string line = std::string("usage: mes-cli ") + command.name;
    for (const Operand& o : command.operands)
        line += o.required ? std::string(" ") + o.name : std::string(" [") + o.name + "]";
    bool optional = false;
    for (const Option& o : command.options) {
        if (o.required)
            line += " " + optionWithValue(o);
        else
            optional = true;
    }
    if (optional)
        line += " [OPTIONS]";
    return line;
}

std::string helpText(const Command& command) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const Operand& o : command.operands)
        rows.emplace_back(o.name, o.help);
    for (const Option& o : command.options)
        rows.emplace_back(optionWithValue(o), o.help);
    rows.emplace_back("-h, --help", "show this help");
    std::size_t width = 0;
    for (const auto& row : rows)
        width = std::max(width, row.first.size());

    std::string text = usageLine(command) + "\n\n" + command.summary + ".\n\n";
    for (const auto& row : rows)
        text +=
            "  " + row.first + std::string(width - row.first.size() + 3, ' ') + row.second + "\n";
    if (command.notes)
        text += std::string("\n") + command.notes;
    return text;
}

std::string overviewText(const std::vector<Command>& commands) {
    std::size_t width = 0;
    for (const Command& c : commands)
        width = std::max(width, std::string(c.name).size());
    std::string text =
        "usage: mes-cli COMMAND [ARGUMENTS] [OPTIONS]\n\n"
        "The command-line companion of the MES embroidery editor.\n\n"
        "commands:\n";
    for (const Command& c : commands) {
        text += std::string("  ") + c.name +
                std::string(width - std::string(c.name).size() + 3, ' ') + c.summary + "\n";
    }
    text +=
        "\n"
        "mes-cli help COMMAND or mes-cli COMMAND --help shows the arguments of a command.\n"
        "Exit status: 0 done, 1 the work failed (the message says why), 2 wrong arguments.\n";
    return text;
}

const Command* findCommand(const std::vector<Command>& commands, const std::string& name) {
    for (const Command& c : commands) {
        if (name == c.name)
            return &c;
    }
    return nullptr;
}

const Option* findOption(const Command& command, const std::string& name) {
    for (const Option& o : command.options) {
        if (name == o.name)
            return &o;
    }
    return nullptr;
}

bool hasExtension(const std::string& path, const char* extension) {
    const std::string ext = extension;
    if (path.size() <= ext.size())
        return false;
    return std::equal(ext.begin(), ext.end(), path.end() - long(ext.size()), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

void hoopSize(const Invocation& in, const std::string& option, int& width, int& height) {
    if (!in.has(option))
        return;
    const std::string v = in.text(option);
    const std::size_t x = v.find_first_of("xX");
    int w = 0, h = 0;
    if (x == std::string::npos || !parseWhole(v.substr(0, x), w) ||
        !parseWhole(v.substr(x + 1), h) || w < 1 || h < 1 || w > 1000 || h > 1000) {
        throw in.badValue(option, "must be WIDTHxHEIGHT in millimetres, as 100x100 (1 to 1000)");
    }
    width = w;
    height = h;
}

int colorOption(const Invocation& in, int fallback, const std::string& option) {
    return in.integer(option, 0, 63, fallback, "colours are 0 to 63, the palette entry minus 1");
}

}  // namespace cli
