// mes-cli: the command-line companion of the editor. Each sub-command lives in its own file in
// this folder and is listed once in the table of main.cpp.
#pragma once

#include <string>
#include <vector>

namespace cli {

// Arguments after the sub-command name, as UTF-8 strings.
using Args = std::vector<std::string>;

// Every sub-command returns the process status: 0 on success, 1 on a failure it has already
// explained on standard error, 2 on a usage error.
// One declaration per sub-command, in the order of the table in main.cpp.
int version(const Args& args);
// Sends a PES file to the MivoStick: mount, upload as version 5, unmount (CliSend.cpp).
int send(const Args& args);
// Reads a PES design into a layer and writes it as PES version 1 or 5 (CliConvert.cpp).
int convert(const Args& args);
// Prints format, version, colours, stitches, bounds and size of a PES file or MIVO buffer
// (CliInfo.cpp).
int info(const Args& args);
// Prints the layer the editor would import from a PES file or MIVO buffer as JSON (CliDump.cpp).
int dump(const Args& args);
// Generates one shape layer and writes it as a PES file (CliShape.cpp).
int shape(const Args& args);
// Composes a line of text with the stitch font packs of the data folder and writes it as a
// version 5 PES file (CliText.cpp).
int text(const Args& args);

// Draws a PES design or a whole project with the editor's renderer into a PNG (CliRender.cpp).
int render(const Args& args);
// A thumbnail of a PES design or a project, fitted into SIZE pixels, for file managers
// (CliThumbnail.cpp).
int thumbnail(const Args& args);

}  // namespace cli
