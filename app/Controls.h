// Which controls of the main window are shown and enabled: the rules, computed from the design
// and the selection, and their application to the widgets (refreshControls in MainWindow.h).
#pragma once

#include <cstdint>

class Document;

struct ControlStates {
    bool typingBox = false, fontDropdown = false, sizeDropdown = false, colorDropdown = false;
    bool baseLineDropdown = false;
    bool effectSliders = false;  // rotate shown (radius and angle follow the base line)
    bool borderButton = false;
    bool letterMinus = false, letterPlus = false, wordMinus = false, wordPlus = false;
    bool sendBackward = false, bringForward = false, mergeDown = false, deleteLayer = false;
    bool duplicate = false, flips = false;
    bool alignLeft = false, alignCenter = false, alignRight = false;
    bool addText = false;
    bool galleryButton = false, emoticonButton = false;
};

// The rules for `selected` (-1 for none) in the document, with the hoop width in millimetres and
// whether the Font panel is the active one.
ControlStates computeControlStates(const Document& document, int selected, int hoopWidthMm,
                                   bool fontPanelActive);

// The rules for the open design, its selection and the active panel (all off without a design).
// The buttons, the menu and the keyboard shortcuts all ask this, so none allows what another
// refuses.
ControlStates currentControlStates();
