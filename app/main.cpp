// The editor's entry point. Start-up and shutdown live in app/Startup.cpp.

#include "app/Startup.h"

int main(int argc, char** argv) {
    return runEditor(argc, argv);
}
