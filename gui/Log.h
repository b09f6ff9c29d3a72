// Diagnostics of the whole program: two printf-style printers and four log classes, one per
// level, that tag each line with a module name. One global threshold decides what is written.
//
// Levels: 0 verbose, 1 notice, 2 warning, 3 error. A line of level L is written when
// L >= logThreshold. Verbose, notice and warning lines go to standard output, errors to
// standard error.
//
// Stream form: construct a temporary with the module name and stream values into it; the line
// is written when the temporary is destroyed:
//     GUI_LogNotice("System RAM") << 8192 << " MB.";   // "System RAM: 8192 MB.\n"
// printf form (no warning variant): the line is written at construction:
//     GUI_LogError("PES", "bad block %i", n);           // "PES: bad block 3\n" on stderr
// Main thread only.
#pragma once

#include <cstdarg>
#include <sstream>
#include <string>

#if defined(__GNUC__) || defined(__clang__)
#define GUI_PRINTF_LIKE(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define GUI_PRINTF_LIKE(fmt, args)
#endif

// The global log threshold: 1 (notice) until the application raises it; 5 silences all levels.
// Defined in Log.cpp, its one home.
extern int logThreshold;

// Always writes the formatted text to standard output; nothing is added.
void GUI_Print(const char* format, ...) GUI_PRINTF_LIKE(1, 2);

// Writes the formatted text to standard output only while logThreshold <= 1; nothing is added.
void GUI_LogPrint(const char* format, ...) GUI_PRINTF_LIKE(1, 2);

// Base of the four log classes, which differ only in their level.
class GUI_Log {
public:
    virtual ~GUI_Log();

    template <class T>
    GUI_Log& operator<<(const T& value) {
        message << value;
        return *this;
    }
    // Manipulators such as std::hex.
    GUI_Log& operator<<(std::ostream& (*manipulator)(std::ostream&)) {
        manipulator(message);
        return *this;
    }

protected:
    GUI_Log(int level, const std::string& module);
    // printf form: writes the line at once (when the level passes) and marks it printed.
    void printNow(const char* format, va_list args);

    int level;
    bool printed;
    std::string module;
    std::ostringstream message;
};

class GUI_LogVerbose : public GUI_Log {
public:
    explicit GUI_LogVerbose(const std::string& module = "");
    GUI_LogVerbose(const std::string& module, const char* format, ...) GUI_PRINTF_LIKE(3, 4);
};

class GUI_LogNotice : public GUI_Log {
public:
    explicit GUI_LogNotice(const std::string& module = "");
    GUI_LogNotice(const std::string& module, const char* format, ...) GUI_PRINTF_LIKE(3, 4);
};

// There is deliberately no printf form of the warning.
class GUI_LogWarning : public GUI_Log {
public:
    explicit GUI_LogWarning(const std::string& module = "");
};

class GUI_LogError : public GUI_Log {
public:
    explicit GUI_LogError(const std::string& module = "");
    GUI_LogError(const std::string& module, const char* format, ...) GUI_PRINTF_LIKE(3, 4);
};
