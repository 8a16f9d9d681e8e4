// Process runner: posix_spawnp with a pipe for standard output, polled in short slices.
#include "gui/platform/posix/process_runner.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace desktop_dialogs {

namespace {

constexpr int kSliceMilliseconds = 20;

// Waits for the child while keeping the idle pump going; the child's status, -1 when it
// cannot be waited for, or kReapedElsewhere when the host reaps its children itself (SIGCHLD
// ignored, or a handler that waits for any child).
constexpr int kReapedElsewhere = -2;

int reap(pid_t child, const IdlePump& idle, bool& abandoned) {
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) return status;
        if (done < 0 && errno == ECHILD) return kReapedElsewhere;
        if (done < 0 && errno != EINTR) return -1;
        if (!abandoned && idle && !idle()) {
            abandoned = true;
            kill(child, SIGKILL);
        }
        usleep(kSliceMilliseconds * 1000);
    }
}

} // namespace

ProgramResult runProgram(const std::vector<std::string>& argv, const IdlePump& idle) {
    ProgramResult result;
    if (argv.empty() || argv[0].empty()) return result;

    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return result;

    std::vector<char*> arguments;
    for (const std::string& argument : argv)
        arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
#if defined(__GLIBC__) && __GLIBC_PREREQ(2, 34)
    // The host's own descriptors (its X connection, audio devices) stay out of the dialog.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif
    // The child starts with default signal handling whatever the host set up.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    sigset_t noMask;
    sigemptyset(&noMask);
    posix_spawnattr_setsigmask(&attributes, &noMask);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    pid_t child = -1;
    const int spawned =
        posix_spawnp(&child, arguments[0], &actions, &attributes, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return result;
    }

    bool overflow = false;
    bool abandoned = false;
    char buffer[65536];
    for (;;) {
        pollfd waiting{pipeEnds[0], POLLIN, 0};
        const int ready = poll(&waiting, 1, kSliceMilliseconds);
        if (ready < 0 && errno != EINTR) break;
        if (ready <= 0) {
            if (idle && !idle()) {
                abandoned = true;
                kill(child, SIGKILL);
                break;
            }
            continue;
        }
        const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) break;
        if (result.output.size() + static_cast<size_t>(got) > kMaxOutputBytes) {
            overflow = true;
            kill(child, SIGKILL);
            break;
        }
        result.output.append(buffer, static_cast<size_t>(got));
    }
    close(pipeEnds[0]);

    const int status = reap(child, idle, abandoned);
    if (abandoned) {
        result.ending = ProgramResult::Ending::Abandoned;
        result.output.clear();
        return result;
    }
    if (status == kReapedElsewhere && !overflow) {
        // The status is lost: a dialog that printed something chose, one that printed nothing
        // was cancelled. Its answer is checked like any other.
        result.ending = ProgramResult::Ending::Exited;
        result.exitStatus = result.output.empty() ? 1 : 0;
        return result;
    }
    if (overflow || status < 0 || !WIFEXITED(status)) {
        result.ending = ProgramResult::Ending::Failed;
        return result;
    }
    result.ending = ProgramResult::Ending::Exited;
    result.exitStatus = WEXITSTATUS(status);
    // posix_spawnp reports a program it could not execute as exit status 127.
    if (result.exitStatus == 127) result.ending = ProgramResult::Ending::NotStarted;
    return result;
}

} // namespace desktop_dialogs
