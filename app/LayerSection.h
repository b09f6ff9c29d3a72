// The layer section of the toolbox: the "Layers" label, the layer list with one row per layer
// (its thumbnail, stitch count and thread colour) and the tool bar of layer commands under it.
// Also the editor's document host, which ties the document's layer list to this list.
#pragma once

// Makes the label, the tool bar and the list in the toolbox.
void buildLayerSection();

// Stretches the list from the label's bottom to the tool bar's top.
void fitLayerList();

// The "Layers" label's top in points for a window of the given logical height.
int layersLabelTop(int windowHeight);

// What choosing row `index` of the layer list does (by click, by the canvas, or by a command):
// refresh the controls, fill the panels from the layer, show its panel, highlight it.
void layerChosen(int index);

// The editor's document on the layer list: created by start-up after the main window, destroyed
// before the window goes (theDocument is set and cleared here).
void createEditorDocument();
void destroyEditorDocument();

// Releases the icons the rows are drawn with (at shutdown, before the renderer goes).
void releaseLayerSectionTextures();
