// "Send Backward": swaps a layer with the one below it (index - 1), which ends selected.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design/Document.h"
#include "design/History.h"

class SendBackwardCommand : public Command {
public:
    SendBackwardCommand(Document& document, int index);

private:
    int index;
};
