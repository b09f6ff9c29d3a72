// What the toolbox's controls do: each callback reads the panels, builds the command for the
// selected layer and runs it through the undo history (a few act at once without one), then
// refreshes the controls. Also filling the panels from a selected layer.
#pragma once

#include <string>

#include "design/LayerProperties.h"

class GUI_Dropdown;
class GUI_EditText;

// ---- Font panel.
void onTypingChanged(GUI_EditText* box);
void onFontSelect(int fontIndex);
void onSetFont();
void onColorSelect(int colorIndex);
void onColorSelected(int colorIndex);
// Letter (or word) spacing of the selected text layer by -1 or +1, within -50..50, applied at
// once without an undo entry.
void changeSpacing(int letterStep, int wordStep);
void alignLeft();
void alignCenter();
void alignRight();
void onVerticalFlip();
void onHorizontalFlip();
void onCreateBorder();

// ---- Effect panel.
void onBaseLineSelect(int baselineIndex);
// "Base Line", "Radius", "Angle" or "Rotate" for the selected layer, by its kind: a text effect,
// a shape edit or a PES effect.
void runEffectCommand(const std::string& name);
// The rotate slider turns the selected layer on the canvas while it moves; the release rotates
// it for real with one undo entry.
void previewRotation(float sliderValue);
void finishRotation();
void translateBaseLineEntries();

// ---- Shape panel.
void onShapeSizeSlider(GUI_EditText* box, float value);
// The line width or density box by one tenth up or down, within 0.1..1.
void stepShapeBox(GUI_EditText* box, int step);
void onStrokeBoxChanged();
void onCreateShape();
void onReplaceShape();

// ---- Drop-downs: opening one closes the lists of the others.
void onDropdownOpen(GUI_Dropdown* opened);
void closeOpenDropdownLists(GUI_Dropdown* except);

// The panels as a new design starts them (the "New" command).
void resetPanelsForNewDesign();

// The panels show the layer's properties; no command runs.
void fillPanelsFromLayer(const LayerProperties& p);

// The properties the Font and effect panels describe for a text layer based on `base`.
LayerProperties textPropertiesFromPanels(const LayerProperties& base);

// One decimal in fixed notation, as the number boxes show values ("5.0").
std::string oneDecimal(float value);
