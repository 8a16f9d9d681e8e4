// The child process of plughost list on Linux: a fork that loads the plug-in and writes its
// report into a pipe, in a process group of its own, stopped when the time limit passes.
#include "tools/plughost/list_probe.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

[[noreturn]] void describeInChild(const std::string& path, int out) {
    // The plug-in's own chatter must not reach the listing.
    const int quiet = ::open("/dev/null", O_RDWR);
    if (quiet >= 0) {
        ::dup2(quiet, STDIN_FILENO);
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
    }
    const std::string report = pluginReport(path);
    for (size_t done = 0; done < report.size();) {
        const ssize_t wrote = ::write(out, report.data() + done, report.size() - done);
        if (wrote <= 0) break;
        done += static_cast<size_t>(wrote);
    }
    // No effClose, no destructors: the process ends here whatever the plug-in left running.
    ::_exit(0);
}

std::string describeSignal(int number) {
    const char* name = ::strsignal(number);
    return "signal " + std::to_string(number) + (name ? std::string(", ") + name : std::string());
}

} // namespace

ProbeAnswer probeInChild(const std::string& path, double timeLimit) {
    ProbeAnswer answer;
    int channel[2];
    if (::pipe(channel) != 0) {
        answer.failure = std::string("cannot start a loader: ") + std::strerror(errno);
        return answer;
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        answer.failure = std::string("cannot start a loader: ") + std::strerror(errno);
        ::close(channel[0]);
        ::close(channel[1]);
        return answer;
    }
    if (child == 0) {
        ::setpgid(0, 0); // its own group, so whatever it starts is stopped with it
        ::close(channel[0]);
        describeInChild(path, channel[1]);
    }
    ::setpgid(child, child);
    ::close(channel[1]);

    std::string received;
    bool complete = false;
    bool timedOut = false;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(timeLimit));
    while (!complete) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd wait{channel[0], POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        char buffer[4096];
        const ssize_t got = ::read(channel[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break; // the child is gone
        received.append(buffer, static_cast<size_t>(got));
        complete = received.size() >= 4 && received.compare(received.size() - 4, 4, "end\n") == 0;
    }
    ::close(channel[0]);
    if (!complete) ::kill(-child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (complete) ::kill(-child, SIGKILL); // threads are gone with the child; helpers are not

    if (timedOut) {
        char text[96];
        std::snprintf(text, sizeof text, "no answer within %g s: its entry hangs (stopped)",
                      timeLimit);
        answer.failure = text;
        return answer;
    }
    if (!complete) {
        if (WIFSIGNALED(status))
            answer.failure = "crashed while loading (" + describeSignal(WTERMSIG(status)) + ")";
        else
            answer.failure = "the plug-in ended the process while loading (exit status " +
                             std::to_string(WEXITSTATUS(status)) + ")";
        return answer;
    }
    answer.report = received;
    return answer;
}
