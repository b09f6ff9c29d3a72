// The properties the user edits on one layer. The field names are also the keys of the project
// file, so they must not be renamed.
#pragma once

#include <cstdint>
#include <string>

// Layer kinds (LayerProperties::type).
enum LayerType : int32_t { kLayerText = 0, kLayerPES = 1, kLayerShape = 2 };

struct LayerProperties {
    int32_t type = kLayerText;             // 0 text, 1 PES, 2 shape
    std::string text = "Text";             // UTF-8; a fixed "Text" for kinds other than text
    std::string typeName = "Font Stitch";  // "Font Stitch", "PES Stitch...", "Shape Stitch"
    int32_t fontIndex = 0;                 // stitch font number
    int32_t fontSizeIndex = 0;             // size step of that font
    int32_t colorIndex = 10;       // palette index minus 1: the first block uses threadColor(+1)
    int32_t baselineIndex = 0;     // 0 normal, 1 circle, 2 circle-bottom
    float radiusValue = 0.5f;      // base line radius, 0..1
    float angleValue = 0.1f;       // base line arc angle, 0..1
    float rotateValue = 0.5f;      // 0..1; degrees = rotateValue * 360 - 180 (0.5: no rotation)
    int32_t extraLetterSpace = 0;  // first spacing value of text composition
    int32_t extraSpace = 0;        // second spacing value of text composition
    // Shape layers only: set whenever a shape layer is built, not stored for other kinds.
    int32_t shapeIndex = 0;  // shape kind
    float width = 0.0f;      // shape width, cm
    float height = 0.0f;     // shape height, cm
    float lineWidth = 0.0f;  // shape line width
    float density = 0.0f;    // stitch spacing, mm
};
