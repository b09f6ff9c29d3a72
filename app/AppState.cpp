#include "app/AppState.h"

std::string currentOpenFile;
std::string currentOpenPath;
std::string prefPath;
bool stickConnected = false;
std::map<std::string, std::string> startOptions;
MivoStickLink stickLink;
