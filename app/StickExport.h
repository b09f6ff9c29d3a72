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

// Whether the merged design may go: yes when nothing in it would stop a machine (the sewing check
// of the design as written, against the settings' hoop); otherwise a warning box gives the
// reasons and asks, and only "Send Anyway" says yes.
bool agreedToSendDespiteCheck(const PESData& merged);

// The menu's "Export to MivoStick" (on theDocument, through stickLink). A design the sewing check
// finds a machine would refuse is sent only after the warning box's "Send Anyway". Returns
// whether the stick confirmed the upload.
bool exportToStick();
