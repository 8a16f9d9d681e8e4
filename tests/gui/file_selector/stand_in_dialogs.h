// StandInDialogs: a scratch folder with stand-in `zenity` and `kdialog` scripts that record
// their arguments and answer what a test wrote for them; PATH holds that folder alone and the
// session bus points nowhere, so no real dialog or portal can answer. Removed with the object.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

class StandInDialogs {
  public:
    StandInDialogs() {
        char pattern[] = "/tmp/file_selector_XXXXXX";
        folder = mkdtemp(pattern);
        bin = folder + "/bin";
        std::filesystem::create_directory(bin);
        savedPath = getenv("PATH") ? getenv("PATH") : "";
        const char* bus = getenv("DBUS_SESSION_BUS_ADDRESS");
        savedBus = bus ? bus : "";
        hadBus = bus != nullptr;
        setenv("PATH", bin.c_str(), 1);
        setenv("STANDIN_DIR", folder.c_str(), 1);
        setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + folder + "/no-bus").c_str(), 1);
    }
    ~StandInDialogs() {
        setenv("PATH", savedPath.c_str(), 1);
        if (hadBus)
            setenv("DBUS_SESSION_BUS_ADDRESS", savedBus.c_str(), 1);
        else
            unsetenv("DBUS_SESSION_BUS_ADDRESS");
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // Installs the stand-in `name` (zenity or kdialog). It prints the lines of answer, then
    // exits with `status`; "die" kills it with a signal instead. `delaySeconds` keeps it open.
    void install(const std::string& name, const std::vector<std::string>& answer,
                 const std::string& status = "0", const std::string& delaySeconds = "") {
        std::ofstream(folder + "/" + name + ".answer") << joinLines(answer);
        std::ofstream(folder + "/" + name + ".status") << status << "\n";
        const std::string script = bin + "/" + name;
        std::ofstream(script) << "#!/bin/sh\n"
                                 "name=${0##*/}\n"
                                 ": > \"$STANDIN_DIR/$name.args\"\n"
                                 "for a in \"$@\"; do printf '%s\\036' \"$a\" >> "
                                 "\"$STANDIN_DIR/$name.args\"; done\n"
                              << (delaySeconds.empty() ? "" : "/bin/sleep " + delaySeconds + "\n")
                              << "while IFS= read -r line; do printf '%s\\n' \"$line\"; done < "
                                 "\"$STANDIN_DIR/$name.answer\"\n"
                                 "read -r status < \"$STANDIN_DIR/$name.status\"\n"
                                 "[ \"$status\" = die ] && kill -9 $$\n"
                                 "exit $status\n";
        chmod(script.c_str(), 0755);
    }
    bool ran(const std::string& name) const {
        return std::filesystem::exists(folder + "/" + name + ".args");
    }
    // The arguments the stand-in `name` was started with (argv[1] on).
    std::vector<std::string> arguments(const std::string& name) const {
        std::ifstream in(folder + "/" + name + ".args");
        std::vector<std::string> list;
        std::string item;
        while (std::getline(in, item, '\036'))
            list.push_back(item);
        return list;
    }
    // Makes a file (and its folders) under the scratch folder; its absolute path.
    std::string makeFile(const std::string& relative) const {
        const std::string path = folder + "/" + relative;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << "x";
        return path;
    }

    std::string folder;
    std::string bin;

  private:
    static std::string joinLines(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        return text;
    }
    std::string savedPath;
    std::string savedBus;
    bool hadBus = false;
};
