// Switches the process to a German locale, whose "%.2f" prints a decimal comma, as a host
// running in German would. Answers false when the system has none.
#pragma once

#include <clocale>

inline bool setCommaLocale() {
    // The glibc name, then the Windows C runtime's.
    return std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "German_Germany.1252");
}
