// Text effects: bending a layer onto a circular base line and rotating it, and the two rebuilds
// that re-apply them from a clean source whenever a property changes (the text itself for a text
// layer, sourceBlocks for a PES layer). Applying the same properties twice gives the same
// stitches, so a rotation is never applied on top of an earlier one.
//
// The effect parameters are LayerProperties fields: baselineIndex (0 straight, 1 on top of a
// circle, 2 under its bottom), radiusValue (0..1 -> 0..1500 units), angleValue (0..1 -> half
// span 0..pi) and rotateValue (0..1 -> -pi..pi; 0.5 is no rotation).
//
// Pure code on one PESData; selecting, rendering and the stitch warning belong to the commands.
// Log lines go to an optional FormatLog.
#pragma once

#include <cstdint>
#include <functional>
#include <type_traits>

#include "design/PESData.h"

namespace effects {

// Widening of the x range of a text layer's bend, so that the frame's sides (20 units outside the
// text) land exactly on the start and end angles.
constexpr int32_t kTextBendMargin = 20;
// The arc span chosen when a straight layer first gets a circular base line: 120 degrees.
constexpr float kAutoAngleValue = 0.33333334f;

// Base line radius R = radiusValue * 1500 units, half span phi = angleValue * pi and rotation
// theta = rotateValue * 2pi - pi, all through the unclamped range map, in float.
float baselineRadius(float radiusValue);
float baselineHalfAngle(float angleValue);
float rotationAngle(float rotateValue);

// Which stitches a bend moves and over which x range.
enum class BendKind {
    Text,  // x range widened by kTextBendMargin; the frame points are bent too
    Plain  // PES and shape layers: the bounds as they are
};

// Bends the layer, which must be centred on the origin with fresh bounds, onto its base line.
// When oldBaselineIndex is 0 (the layer was straight) radiusValue and angleValue are first chosen
// so that the arc spans 120 degrees and is as long as the layer is wide, and stored in the
// properties. Does nothing for baselineIndex 0. Bounds are not recomputed.
void bendLayer(PESData& layer, int32_t oldBaselineIndex, BendKind kind);

// Rotates every stitch about the origin by rotationAngle(rotateValue) (positive turns clockwise on
// screen), truncating toward zero. Frame points are not rotated. Bounds are not recomputed.
void rotateLayer(PESData& layer);

// Degrees the canvas turns the layer's texture while the rotate slider shows sliderValue.
float rotationPreviewAngle(float sliderValue, float rotateValue);

// Fills a layer with the stitches of its text (createTextLayer with the properties' text, font,
// size and spacing). A composer may return whether new stitches were built (false: the text
// could not be composed and the blocks were left as they were); one that returns nothing is taken
// as always succeeding.
class TextComposer {
public:
    TextComposer() = default;
    template <class F, class = std::enable_if_t<std::is_invocable_v<F&, PESData&>>>
    TextComposer(F compose) {  // NOLINT: implicit, so that callers can pass a lambda
        if constexpr (std::is_void_v<std::invoke_result_t<F&, PESData&>>) {
            fn_ = [compose](PESData& layer) mutable {
                compose(layer);
                return true;
            };
        } else {
            fn_ = [compose](PESData& layer) mutable { return static_cast<bool>(compose(layer)); };
        }
    }
    // Composes into the layer; false when there is no composer or it failed.
    bool operator()(PESData& layer) const { return fn_ && fn_(layer); }

private:
    std::function<bool(PESData&)> fn_;
};

// The text layer rebuild: new properties, the text composed again, a fresh frame, the result
// centred, coloured, bent and rotated, then moved back to where the layer was. oldBaselineIndex is
// that of the properties before the change. When the text cannot be composed the layer is left
// exactly as it was (its stitches already carry the effects, so bending them again would distort
// them) and the result is false.
bool rebuildTextLayer(PESData& layer, const LayerProperties& newProperties,
                      int32_t oldBaselineIndex, const TextComposer& compose);

// The PES layer rebuild: new properties, the blocks again from sourceBlocks, centred, coloured,
// bent and rotated, then centred on (cx0, cy0), the centre the layer had when the change began.
void rebuildPESLayer(PESData& layer, const LayerProperties& newProperties, int32_t oldBaselineIndex,
                     int32_t cx0, int32_t cy0);

}  // namespace effects
