// Shell completion of mes-cli from its command table. The bash script mes-cli.bash-completion
// (beside this file) runs "mes-cli __complete WORD..." with the words typed after "mes-cli", the
// last one being the word under the cursor (possibly ""), and offers what this prints: one
// candidate per line, or the single line "@files" / "@folders" for the shell's own completion of
// file or folder names.
//
// Pure code.
#pragma once

#include <string>
#include <vector>

#include "app/cli/CommandTable.h"

namespace cli {

// The hidden command name the completion script calls.
constexpr const char* kCompleteCommand = "__complete";

std::vector<std::string> completions(const std::vector<Command>& commands, const Args& words);

}  // namespace cli
