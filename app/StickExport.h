// "Export to MivoStick": the whole design, merged into one layer, written as a version 5 PES file
// with the settings' hoop and sent to the stick, which stores it on the card in the embroidery
// machine.
//
// Runs to its end inside the call, on the main thread, with a busy cursor: mount the card,
// upload, check that the reply confirms the upload ("uploaded"), unmount. The link's time-outs
// bound how long a silent or vanished stick can hold the editor. The result is told in a message
// box (MessageBox.h). The design, its history and its path never change.
#pragma once

#include "design/PESData.h"

class Document;

// Every layer of the document merged into one, in design order, with its bounds computed.
PESData mergedDesign(const Document& document);

// The menu's "Export to MivoStick" (on theDocument, through stickLink). Returns whether the
// stick confirmed the upload.
bool exportToStick();
