// The child process of plughost list on Windows: plughost.exe itself, started with the hidden
// command "--report PLUGIN", writes the report to a pipe; a child that takes longer than the
// time limit is terminated. A crash shows as the exception code the child ended with.
#include "tools/plughost/list_probe.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

std::string hexCode(DWORD code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
    return text;
}

std::string quoted(const std::string& argument) {
    return "\"" + argument + "\"";
}

} // namespace

ProbeAnswer probeInChild(const std::string& path, double timeLimit) {
    ProbeAnswer answer;
    char self[MAX_PATH];
    if (!GetModuleFileNameA(nullptr, self, MAX_PATH)) {
        answer.failure = "cannot start a loader: plughost.exe does not know its own path";
        return answer;
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        answer.failure = "cannot start a loader: no pipe";
        return answer;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE quiet =
        CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = quiet;
    startup.hStdOutput = writeEnd;
    startup.hStdError = quiet; // the plug-in's own chatter must not reach the listing
    std::string command = quoted(self) + " --report " + quoted(path);
    PROCESS_INFORMATION child{};
    const BOOL started = CreateProcessA(self, command.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &child);
    CloseHandle(writeEnd);
    if (quiet != INVALID_HANDLE_VALUE) CloseHandle(quiet);
    if (!started) {
        CloseHandle(readEnd);
        answer.failure = "cannot start a loader: error " + std::to_string(GetLastError());
        return answer;
    }

    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(timeLimit));
    std::string received;
    bool complete = false, timedOut = false;
    while (!complete) {
        DWORD available = 0;
        if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr)) break; // gone
        if (available == 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                timedOut = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        char buffer[4096];
        DWORD got = 0;
        if (!ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) || got == 0) break;
        received.append(buffer, got);
        complete = received.size() >= 4 && received.compare(received.size() - 4, 4, "end\n") == 0;
    }
    CloseHandle(readEnd);
    if (!complete) TerminateProcess(child.hProcess, 1);
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(child.hProcess, &status);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);

    if (timedOut) {
        char text[96];
        std::snprintf(text, sizeof text, "no answer within %g s: its entry hangs (stopped)",
                      timeLimit);
        answer.failure = text;
    } else if (!complete) {
        answer.failure = status >= 0xC0000000u
                             ? "crashed while loading (exception " + hexCode(status) + ")"
                             : "the plug-in ended the process while loading (exit status " +
                                   std::to_string(status) + ")";
    } else {
        answer.report = received;
    }
    return answer;
}
