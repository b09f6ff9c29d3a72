// The embroidery machines the editor knows, each with the hoops it takes. The hoop chosen in the
// settings is the design area: it is drawn on the canvas, bounds the align rules and is written
// into every PES file sent to the machine.
//
// Units: hoop sizes in millimetres; the display texts are in centimetres ("36.0 x 36.0").
// The table is built on first use and never changes. Main thread only.
#pragma once

#include <string>
#include <vector>

struct Hoop {
    int width = 0;   // mm
    int height = 0;  // mm
};

struct MachineModel {
    std::string name;
    std::vector<Hoop> hoops;
    std::vector<std::string> hoopTexts;  // one per hoop, "%3.1f x %3.1f" in cm
};

// The twelve models, in the order the settings file numbers them.
const std::vector<MachineModel>& machineModels();

// The display text of a hoop of w x h millimetres, in centimetres: "36.0 x 36.0".
std::string hoopText(int width, int height);

// The first model and hoop (in table order) of the given size; false when no model has it.
bool findHoop(int width, int height, int* modelIndex, int* hoopIndex);
