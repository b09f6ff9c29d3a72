#include "app/MachineModels.h"

#include <cstdio>

std::string hoopText(int width, int height) {
    char text[64];
    std::snprintf(text, sizeof text, "%3.1f x %3.1f", width * 0.1, height * 0.1);
    return text;
}

const std::vector<MachineModel>& machineModels() {
    static const std::vector<MachineModel> models = [] {
        const std::vector<Hoop> small = {{60, 20}, {100, 100}};
        const std::vector<Hoop> pr1000 = {{60, 40},   {100, 100}, {130, 180}, {200, 200},
                                          {360, 200}, {300, 100}, {360, 360}, {130, 60},
                                          {360, 60},  {90, 80},   {45, 24}};
        std::vector<MachineModel> table = {
            {"NV-95E", small, {}},
            {"NV-950", small, {}},
            {"NV-980D", small, {}},
            {"NV-980K", small, {}},
            {"NV-750E", {{60, 20}, {100, 100}, {130, 180}}, {}},
            {"NV-800E", {{60, 20}, {100, 100}, {130, 180}, {150, 150}, {260, 160}, {180, 100}}, {}},
            {"V3", {{100, 100}, {130, 180}, {150, 150}, {300, 180}, {300, 100}}, {}},
            {"VR",
             {{33, 75},
              {38, 44},
              {41, 70},
              {50, 50},
              {60, 40},
              {100, 100},
              {130, 180},
              {200, 200},
              {180, 100},
              {130, 60},
              {90, 80},
              {45, 24}},
             {}},
            {"PR-650E", {{60, 40}, {100, 100}, {130, 180}, {300, 200}, {130, 60}, {90, 80}}, {}},
            {"PR-655",
             {{60, 40},
              {100, 100},
              {130, 180},
              {200, 200},
              {300, 200},
              {300, 100},
              {130, 60},
              {90, 80},
              {45, 24}},
             {}},
            {"PR-1000", pr1000, {}},
            {"PR-1050X", pr1000, {}},
        };
        for (MachineModel& m : table) {
            for (const Hoop& h : m.hoops)
                m.hoopTexts.push_back(hoopText(h.width, h.height));
        }
        return table;
    }();
    return models;
}

bool findHoop(int width, int height, int* modelIndex, int* hoopIndex) {
    const std::vector<MachineModel>& models = machineModels();
    for (size_t m = 0; m < models.size(); ++m) {
        for (size_t h = 0; h < models[m].hoops.size(); ++h) {
            if (models[m].hoops[h].width == width && models[m].hoops[h].height == height) {
                *modelIndex = int(m);
                *hoopIndex = int(h);
                return true;
            }
        }
    }
    return false;
}
