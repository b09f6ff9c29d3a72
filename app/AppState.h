// Application-wide state of the shell, created by start-up and alive for the whole run. This is
// its one home; main thread only.
#pragma once

#include <map>
#include <string>

#include "net/MivoStickLink.h"

// Path of the document named on the command line, later the path of the open project ("" when
// no file is open). UTF-8.
extern std::string currentOpenFile;
// Directory of the last path the command line or a file command used (no trailing separator).
extern std::string currentOpenPath;
// Per-user preferences folder, ending in "/"; "" when the platform gives none (files are then
// looked for relative to the working directory).
extern std::string prefPath;
// The computer's own address lies on the MivoStick's network.
extern bool stickConnected;

// The command-line options of this run by name (see commandLineOptions in Platform.h), read by
// the parts they configure.
extern std::map<std::string, std::string> startOptions;

// The link to the MivoStick, one for the whole run (its busy flag and reply text are the
// process-wide ones).
extern MivoStickLink stickLink;

// A design holds at most this many layers.
constexpr int maxLayers = 16;
