#include "design/PESExport.h"

PESWriteInput pesWriteInput(const PESData& layer, int hoopW, int hoopH) {
    PESWriteInput in;
    in.minX = layer.minX;
    in.minY = layer.minY;
    in.maxX = layer.maxX;
    in.maxY = layer.maxY;
    in.centerX = layer.centerX;
    in.centerY = layer.centerY;
    in.blocks = &layer.blocks;
    in.hoopW = hoopW;
    in.hoopH = hoopH;
    return in;
}

std::vector<uint8_t> writePES1(const PESData& layer, int hoopW, int hoopH) {
    return writePES1(pesWriteInput(layer, hoopW, hoopH));
}

std::vector<uint8_t> writePES5(const PESData& layer, int hoopW, int hoopH) {
    return writePES5(pesWriteInput(layer, hoopW, hoopH));
}

std::vector<uint8_t> writePES(const PESData& layer, int version, int hoopW, int hoopH) {
    return writePES(pesWriteInput(layer, hoopW, hoopH), version);
}
