// mes-cli: the command-line companion of the editor. Each sub-command lives in its own file in
// this folder and has one entry in the command table of main.cpp, which names its operands and
// options (see CommandTable.h); the function gets its arguments already checked against it.
#pragma once

#include "app/cli/CommandTable.h"

namespace cli {

// Every sub-command returns the process status: kStatusDone, kStatusFailed after explaining the
// failure on standard error, or throws UsageError (status kStatusUsage) for a wrong argument.
// One declaration per sub-command, in the order of the table in main.cpp.

// Prints the version.
int version(const Invocation& in);
// Sends a PES file to the MivoStick: mount, upload as version 5, unmount (CliSend.cpp).
int send(const Invocation& in);
// Reads a PES design into a layer and writes it as PES version 1 or 5 (CliConvert.cpp).
int convert(const Invocation& in);
// Prints format, version, colours, stitches, bounds and size of a PES file or MIVO buffer
// (CliInfo.cpp).
int info(const Invocation& in);
// Reports what a machine meets in a PES file or project: stitches too long or too short, thread
// piling up, size against the hoop, colour changes, sewing time; 1 when something would stop a
// machine (CliCheck.cpp).
int check(const Invocation& in);
// Prints the layer the editor would import from a PES file or MIVO buffer as JSON (CliDump.cpp).
int dump(const Invocation& in);
// Generates one shape layer and writes it as a PES file (CliShape.cpp).
int shape(const Invocation& in);
// Composes a line of text with the stitch font packs of the data folder and writes it as a
// version 5 PES file (CliText.cpp).
int text(const Invocation& in);
// Composes one design per name of a CSV list, each checked against the hoop (CliBatch.cpp).
int batch(const Invocation& in);
// Lists the stitch fonts with their names, typefaces and sizes (CliFonts.cpp).
int fonts(const Invocation& in);
// Draws a PES design or a whole project with the editor's renderer into a PNG (CliRender.cpp).
int render(const Invocation& in);
// A thumbnail of a PES design or a project, fitted into SIZE pixels, for file managers
// (CliThumbnail.cpp).
int thumbnail(const Invocation& in);

}  // namespace cli
