// runCommand: runs a shell command line for a test and returns its exit status with everything
// it printed (standard output and standard error together).
#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>

struct CommandOutcome {
    int status = -1; // the exit status, or -1 when the command could not run or was killed
    std::string output;
};

inline CommandOutcome runCommand(const std::string& command) {
    CommandOutcome result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, got);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}
