#include "gui/Log.h"

#include <cstdarg>
#include <cstdio>
#include <iostream>

int logThreshold = 1;

namespace {

bool passes(int level) {
    return level >= logThreshold;
}

}  // namespace

void GUI_Print(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    va_end(args);
}

void GUI_LogPrint(const char* format, ...) {
    if (logThreshold > 1) {
        return;
    }
    va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    va_end(args);
}

GUI_Log::GUI_Log(int level, const std::string& module)
    : level(level), printed(false), module(module) {}

GUI_Log::~GUI_Log() {
    if (printed || !passes(level)) {
        return;
    }
    std::ostream& out = level >= 3 ? std::cerr : std::cout;
    if (!module.empty()) {
        out << module << ": ";
    }
    out << message.str() << std::endl;
}

void GUI_Log::printNow(const char* format, va_list args) {
    // Whatever happens, the destructor must not write this line a second time.
    printed = true;
    if (!passes(level)) {
        return;
    }
    std::FILE* out = level >= 3 ? stderr : stdout;
    if (!module.empty()) {
        std::fprintf(out, "%s: ", module.c_str());
    }
    std::vfprintf(out, format, args);
    std::fputs("\n", out);
}

GUI_LogVerbose::GUI_LogVerbose(const std::string& module) : GUI_Log(0, module) {}

GUI_LogVerbose::GUI_LogVerbose(const std::string& module, const char* format, ...)
    : GUI_Log(0, module) {
    va_list args;
    va_start(args, format);
    printNow(format, args);
    va_end(args);
}

GUI_LogNotice::GUI_LogNotice(const std::string& module) : GUI_Log(1, module) {}

GUI_LogNotice::GUI_LogNotice(const std::string& module, const char* format, ...)
    : GUI_Log(1, module) {
    va_list args;
    va_start(args, format);
    printNow(format, args);
    va_end(args);
}

GUI_LogWarning::GUI_LogWarning(const std::string& module) : GUI_Log(2, module) {}

GUI_LogError::GUI_LogError(const std::string& module) : GUI_Log(3, module) {}

GUI_LogError::GUI_LogError(const std::string& module, const char* format, ...)
    : GUI_Log(3, module) {
    va_list args;
    va_start(args, format);
    printNow(format, args);
    va_end(args);
}
