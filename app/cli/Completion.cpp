#include "app/cli/Completion.h"

#include <algorithm>
#include <set>
#include <sstream>

#include "app/cli/FontCatalogue.h"
#include "stitchfont/FontSizes.h"

namespace cli {

namespace {

// The candidates of one kind of value; fontText is the --font value typed so far ("" if none).
std::vector<std::string> valuesOf(Complete kind, const char* words,
                                  const std::vector<Command>& commands,
                                  const std::string& fontText) {
    std::vector<std::string> out;
    switch (kind) {
        case Complete::Files:
            return {"@files"};
        case Complete::Folders:
            return {"@folders"};
        case Complete::Nothing:
            return {};
        case Complete::Words: {
            std::istringstream in(words ? words : "");
            for (std::string w; in >> w;)
                out.push_back(w);
            return out;
        }
        case Complete::Fonts:
            for (int f = 0; f < stitchfont::kFontCount; ++f)
                out.push_back(std::to_string(f));
            return out;
        case Complete::Sizes: {
            int font = -1;
            if (!parseWhole(fontText, font) || font < 0 || font >= stitchfont::kFontCount) {
                for (int s = 0; s < stitchfont::kSizeSteps; ++s)
                    out.push_back(std::to_string(s));
                return out;
            }
            const std::vector<int> sizes = stitchfont::fontSizes(font);
            for (std::size_t s = 0; s < sizes.size(); ++s)
                out.push_back(std::to_string(s));
            for (int mm : sizes)
                out.push_back(std::to_string(mm) + "mm");
            return out;
        }
        case Complete::Commands:
            for (const Command& c : commands)
                out.push_back(c.name);
            return out;
    }
    return out;
}

std::vector<std::string> matching(std::vector<std::string> candidates, const std::string& cur) {
    if (candidates.size() == 1 && candidates[0][0] == '@')
        return candidates;
    candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                    [&](const std::string& c) { return c.rfind(cur, 0) != 0; }),
                     candidates.end());
    return candidates;
}

}  // namespace

std::vector<std::string> completions(const std::vector<Command>& commands, const Args& words) {
    const std::string cur = words.empty() ? "" : words.back();
    if (words.size() <= 1) {
        std::vector<std::string> names = valuesOf(Complete::Commands, nullptr, commands, "");
        names.push_back("--help");
        return matching(names, cur);
    }
    const Command* command = findCommand(commands, words[0]);
    if (!command)
        return {};

    // Walk the finished words: options given (with their values) and operands.
    std::set<std::string> given;
    std::string fontText;
    std::size_t operands = 0;
    bool optionsEnded = false;
    const std::size_t last = words.size() - 1;
    for (std::size_t i = 1; i < last; ++i) {
        const std::string& w = words[i];
        if (optionsEnded || !looksLikeOption(w)) {
            ++operands;
            continue;
        }
        if (w == "--") {
            optionsEnded = true;
            continue;
        }
        const Option* o = findOption(*command, w.substr(0, w.find('=')));
        if (!o)
            continue;
        given.insert(o->name);
        if (!o->value || w.find('=') != std::string::npos) {
            if (std::string(o->name) == "--font")
                fontText = w.substr(w.find('=') + 1);
            continue;
        }
        if (i + 1 == last)  // the word under the cursor is this option's value
            return matching(valuesOf(o->complete, o->words, commands, fontText), cur);
        if (std::string(o->name) == "--font")
            fontText = words[i + 1];
        ++i;
    }

    if (!optionsEnded && !cur.empty() && cur[0] == '-') {
        std::vector<std::string> names;
        for (const Option& o : command->options) {
            if (!given.count(o.name))
                names.push_back(o.name);
        }
        names.push_back("--help");
        return matching(names, cur);
    }
    if (operands < command->operands.size()) {
        const Operand& o = command->operands[operands];
        return matching(valuesOf(o.complete, o.words, commands, ""), cur);
    }
    return {};
}

}  // namespace cli
