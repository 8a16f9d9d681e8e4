// runProgram: starts a program without a shell (the PATH is searched for argv[0]), collects
// what it writes to standard output and waits for it to end, calling the idle pump all the
// while so that the GUI thread that waits keeps serving the editor and the host.
//
// Standard input is /dev/null and standard error is discarded. Output beyond kMaxOutputBytes
// ends the program and counts as a failure.
#pragma once

#include "gui/platform/posix/dialog_types.h"

#include <cstddef>
#include <string>
#include <vector>

namespace desktop_dialogs {

struct ProgramResult {
    enum class Ending {
        NotStarted, // no such program, or it could not be started
        Exited,     // it ended by itself; exitStatus holds its status
        Failed,     // killed by a signal, too much output, or it could not be waited for
        Abandoned,  // the idle pump gave it up; the program was ended
    };
    Ending ending = Ending::NotStarted;
    int exitStatus = -1;
    std::string output;
};

constexpr size_t kMaxOutputBytes = 64u << 20;

ProgramResult runProgram(const std::vector<std::string>& argv, const IdlePump& idle);

} // namespace desktop_dialogs
