// The effect panel of the toolbox: the base line drop-down and the radius, angle and rotate
// sliders, under a header button that collapses and expands the panel.
#pragma once

// Makes the panel in ui.toolbox, collapsed when the window is lower than 768 points.
void buildEffectPanel();

// Collapses an expanded panel and expands a collapsed one.
void toggleEffectPanel();
