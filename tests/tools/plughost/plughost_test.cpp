// plughost as people use it: help, listing the installed plug-ins (broken ones included), info
// and process on our plug-ins and a third-party one, the progress bar on a terminal, and the
// one-line failures that leave no output file behind.
#include "tests/support/run_command.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <sndfile.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

using CommandResult = CommandOutcome;

CommandResult plughost(const std::string& arguments) {
    return runCommand(std::string(PLUGHOST_PATH) + " " + arguments);
}

// Runs plughost on a pseudo-terminal, as a person at a terminal runs it.
CommandResult plughostOnTerminal(const std::vector<std::string>& arguments) {
    CommandResult run;
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child < 0) return run;
    if (child == 0) {
        std::vector<char*> argv{const_cast<char*>(PLUGHOST_PATH)};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(PLUGHOST_PATH, argv.data());
        ::_exit(127);
    }
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(terminal, buffer, sizeof buffer)) > 0) // EIO once the child is gone
        run.output.append(buffer, static_cast<size_t>(got));
    ::close(terminal);
    int status = 0;
    ::waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// The line of the listing that mentions needle, or "".
std::string lineWith(const std::string& text, const std::string& needle) {
    for (const std::string& line : lines(text))
        if (line.find(needle) != std::string::npos) return line;
    return "";
}

size_t lineCount(const std::string& text) {
    size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

struct Audio {
    int rate = 0;
    int channels = 0;
    std::vector<float> samples; // interleaved
};

void writeWav(const fs::path& path, const std::vector<float>& samples, int channels, int rate) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size() / channels));
    sf_close(file);
}

Audio readAudio(const fs::path& path) {
    Audio audio;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return audio;
    audio.rate = info.samplerate;
    audio.channels = info.channels;
    audio.samples.resize(static_cast<size_t>(info.frames * info.channels));
    sf_readf_float(file, audio.samples.data(), info.frames);
    sf_close(file);
    return audio;
}

class Plughost : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("plughost-test-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        std::vector<float> mono(4800);
        for (size_t i = 0; i < mono.size(); ++i)
            mono[i] = 0.5f * std::sin(0.03f * static_cast<float>(i));
        writeWav(dir / "mono.wav", mono, 1, 48000);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    fs::path dir;
    const std::string swirlet = PLUGIN_DIR "/swirlet.so";
};

TEST_F(Plughost, HelpNamesEveryCommandAndExplainsEachWithAnExample) {
    CommandResult overview = plughost("--help");
    ASSERT_EQ(overview.status, 0) << overview.output;
    EXPECT_EQ(plughost("help").output, overview.output);
    const std::vector<std::string> commands = {"list",   "info",   "process", "bench",
                                               "signal", "editor", "snapshot"};
    for (const std::string& command : commands) {
        EXPECT_NE(overview.output.find("\n  " + command + " "), std::string::npos) << command;
        CommandResult help = plughost("help " + command);
        ASSERT_EQ(help.status, 0) << help.output;
        EXPECT_EQ(help.output.rfind("usage: plughost " + command + " ", 0), 0u) << help.output;
        EXPECT_NE(help.output.find("example:\n  plughost " + command + " "), std::string::npos)
            << help.output;
        EXPECT_EQ(plughost(command + " --help").output, help.output);
    }
    EXPECT_NE(plughost("help list").output.find("  /usr/lib/vst\n"), std::string::npos);
    CommandResult version = plughost("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "plughost " PROJECT_VERSION_TEXT "\n");
}

// A folder as a user's plug-in folder may be: ours, a third-party plug-in one level down, and
// files that are not plug-ins or whose entry answers nothing, crashes, hangs or exits.
TEST_F(Plughost, ListShowsEachPluginAndWhyEachOtherFileDidNotLoad) {
    const fs::path folder = dir / "plugins";
    fs::create_directories(folder / "third-party");
    fs::create_symlink(swirlet, folder / "swirlet.so");
    fs::create_symlink(THIRD_PARTY_PLUGIN, folder / "third-party" / "eq.so");
    fs::copy_file(dir / "mono.wav", folder / "not-a-plugin.so");
    fs::copy_file(dir / "mono.wav", folder / "notes.txt");
    for (const char* name : {"null", "crash", "hang", "exit"})
        fs::create_symlink(fs::path(FAULTY_PLUGIN_DIR) / (std::string(name) + "_entry.so"),
                           folder / (std::string(name) + ".so"));

    const auto started = std::chrono::steady_clock::now();
    CommandResult run = plughost("list " + folder.string() + " --timeout 1");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_LT(seconds, 4.0) << "only the hanging entry may use up its time limit";

    EXPECT_EQ(lines(run.output)[0].rfind("ID    IN/OUT  PARAMS  EDITOR  NAME", 0), 0u)
        << run.output;
    // swirlet tells no effect or product name: the file name stands in.
    const std::string ours = lineWith(run.output, (folder / "swirlet.so").string());
    EXPECT_EQ(ours.rfind("LFsw  2/2     7       yes     swirlet", 0), 0u) << run.output;
    const std::string theirs = lineWith(run.output, (folder / "third-party" / "eq.so").string());
    EXPECT_EQ(theirs.rfind("D3EQ  2/2     6       ", 0), 0u) << run.output;
    const std::vector<std::pair<std::string, std::string>> failures = {
        {"not-a-plugin.so", "invalid ELF header"},
        {"null.so", "the plug-in's entry returned no effect"},
        {"crash.so", "crashed while loading (signal 11, Segmentation fault)"},
        {"hang.so", "no answer within 1 s"},
        {"exit.so", "the plug-in ended the process while loading (exit status 3)"},
    };
    for (const auto& [file, reason] : failures) {
        const std::string line = lineWith(run.output, (folder / file).string() + ": ");
        EXPECT_EQ(line.rfind("  " + (folder / file).string() + ": ", 0), 0u) << run.output;
        EXPECT_NE(line.find(reason), std::string::npos) << line;
    }
    EXPECT_EQ(run.output.find("notes.txt"), std::string::npos);
    EXPECT_EQ(lines(run.output).back(), "2 plug-ins, 5 files not loaded") << run.output;
}

TEST_F(Plughost, ListWithoutFoldersSearchesTheHostFoldersHomeAndBothPathVariables) {
    for (const char* folder : {"home/.vst", "home/.lxvst", "vst-path", "lxvst-path"}) {
        fs::create_directories(dir / folder);
        fs::copy_file(swirlet, dir / folder / "swirlet.so");
    }
    const std::string environment = "HOME=" + path("home") + " VST_PATH=" + path("missing") + ":" +
                                    path("vst-path") + " LXVST_PATH=" + path("lxvst-path");
    const std::string command = std::string(PLUGHOST_PATH) + " list 2>&1";
    FILE* pipe = popen(("env " + environment + " " + command).c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, got);
    ASSERT_EQ(pclose(pipe), 0) << output;
    for (const char* folder : {"home/.vst", "home/.lxvst", "vst-path", "lxvst-path"})
        EXPECT_NE(output.find((dir / folder / "swirlet.so").string()), std::string::npos)
            << folder << "\n"
            << output;
    EXPECT_NE(output.find(THIRD_PARTY_PLUGIN), std::string::npos) << output;
}

TEST_F(Plughost, InfoShowsRecordFlagsParametersAndPrograms) {
    CommandResult run = plughost("info " + swirlet);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("unique ID:     LFsw"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("HasVu CanMono CanReplacing"), std::string::npos);
    EXPECT_NE(run.output.find("Feedback R"), std::string::npos);
    EXPECT_NE(run.output.find("\" %\"       \"25.00\""), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("     15  Swirlet"), std::string::npos);
}

TEST_F(Plughost, ThirdPartyPluginLoadsThroughTheSameRecord) {
    ASSERT_TRUE(fs::exists(THIRD_PARTY_PLUGIN)) << "the setup script installs dpf-plugins-vst";
    CommandResult info = plughost(std::string("info ") + THIRD_PARTY_PLUGIN);
    ASSERT_EQ(info.status, 0) << info.output;
    EXPECT_NE(info.output.find("unique ID:     D3EQ"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("inputs:        2"), std::string::npos);
    EXPECT_NE(info.output.find("parameters:    6"), std::string::npos);
    EXPECT_NE(info.output.find("CanReplacing"), std::string::npos);
    CommandResult process = plughost(std::string("process ") + THIRD_PARTY_PLUGIN + " " +
                                     path("mono.wav") + " " + path("eq.wav") + " --set Low=0.2");
    ASSERT_EQ(process.status, 0) << process.output;
    Audio out = readAudio(path("eq.wav"));
    EXPECT_EQ(out.channels, 2);
    EXPECT_EQ(out.samples.size(), 9600u);
}

TEST_F(Plughost, MonoInputFeedsBothChannelsAtTheFilesRate) {
    CommandResult run = plughost("process " + swirlet + " " + path("mono.wav") + " " +
                                 path("out.wav") + " --set \"Depth L=0\" --set 3=0 --block 37");
    ASSERT_EQ(run.status, 0) << run.output;
    Audio in = readAudio(path("mono.wav"));
    Audio out = readAudio(path("out.wav"));
    ASSERT_EQ(out.rate, 48000);
    ASSERT_EQ(out.channels, 2);
    ASSERT_EQ(out.samples.size(), 2 * in.samples.size());
    for (size_t i = 0; i < in.samples.size(); ++i) {
        ASSERT_EQ(out.samples[2 * i], 0.5f * in.samples[i]) << i; // depth 0: half the input
        ASSERT_EQ(out.samples[2 * i + 1], 0.5f * in.samples[i]) << i;
    }
}

TEST_F(Plughost, ProcessShowsProgressWithTimeLeftOnlyOnATerminal) {
    std::vector<float> mono(6 * 48000, 0.25f); // long enough for the bar
    writeWav(dir / "long.wav", mono, 1, 48000);
    const std::vector<std::string> arguments = {"process", swirlet, path("long.wav"),
                                                path("out.wav")};
    CommandResult terminal = plughostOnTerminal(arguments);
    ASSERT_EQ(terminal.status, 0) << terminal.output;
    EXPECT_NE(terminal.output.find("% ["), std::string::npos) << terminal.output;
    EXPECT_NE(terminal.output.find(" of 6.0 s, 0:0"), std::string::npos) << terminal.output;
    EXPECT_NE(terminal.output.find(" left"), std::string::npos) << terminal.output;
    // The bar is erased before the closing line, which starts at the line's beginning.
    EXPECT_NE(terminal.output.find("\r\033[Kprocessed 288000 frames"), std::string::npos);

    CommandResult piped =
        plughost("process " + swirlet + " " + path("long.wav") + " " + path("out2.wav"));
    ASSERT_EQ(piped.status, 0) << piped.output;
    EXPECT_EQ(piped.output, "processed 288000 frames at 48000 Hz into " + path("out2.wav") + "\n");
}

TEST_F(Plughost, AccumulatingAndReplacingProduceTheSameFile) {
    ASSERT_EQ(plughost("process " + swirlet + " " + path("mono.wav") + " " + path("a.wav") +
                       " --program 3 --set Cross=0.1")
                  .status,
              0);
    ASSERT_EQ(plughost("process " + swirlet + " " + path("mono.wav") + " " + path("b.flac") +
                       " --program 3 --set Cross=0.1 --accumulate")
                  .status,
              0);
    ASSERT_EQ(plughost("process " + swirlet + " " + path("mono.wav") + " " + path("c.wav") +
                       " --program 3 --set Cross=0.1 --accumulate")
                  .status,
              0);
    Audio a = readAudio(path("a.wav")), b = readAudio(path("b.flac")), c = readAudio(path("c.wav"));
    EXPECT_EQ(a.samples, c.samples);
    ASSERT_EQ(b.samples.size(), a.samples.size()); // FLAC is integer: equal within its step
    for (size_t i = 0; i < a.samples.size(); ++i)
        ASSERT_NEAR(a.samples[i], b.samples[i], 1e-4f);
}

TEST_F(Plughost, BadUseFailsWithOneLineAndNoOutputFile) {
    fs::copy_file(path("mono.wav"), path("not-a-plugin.so"));
    {
        FILE* text = std::fopen(path("garbage.wav").c_str(), "w");
        std::fputs("hello\n", text);
        std::fclose(text);
    }
    const std::string out = path("out.wav");
    const std::string in = path("mono.wav");
    const std::vector<std::string> cases = {
        "process " + swirlet + " " + path("missing.wav") + " " + out,
        "process " + swirlet + " " + path("garbage.wav") + " " + out,
        "process " + path("not-a-plugin.so") + " " + in + " " + out,
        "process " + path("missing.so") + " " + in + " " + out,
        std::string("process ") + NULL_ENTRY_PLUGIN + " " + in + " " + out,
        "process " + swirlet + " " + in + " " + out + " --set Nonsense=0.5",
        "process " + swirlet + " " + in + " " + out + " --set 7=0.5",
        "process " + swirlet + " " + in + " " + out + " --set Cross=1.5",
        "process " + swirlet + " " + in + " " + out + " --set Cross=-0.1",
        "process " + swirlet + " " + in + " " + out + " --set Cross=nan",
        "process " + swirlet + " " + in + " " + out + " --program 16",
        "process " + swirlet + " " + in + " " + out + " --block 0",
        "process " + swirlet + " " + in + " " + path("out.unknownext"),
        "process " + swirlet + " " + in,
        "info " + path("missing.so"),
        "info",
        "bench " + swirlet + " --block -3",
        "list " + path("missing-folder"),
        "list --timeout 0",
        "help nonsense",
        "nonsense",
    };
    for (const std::string& arguments : cases) {
        CommandResult run = plughost(arguments);
        EXPECT_NE(run.status, 0) << arguments;
        EXPECT_EQ(lineCount(run.output), 1u) << arguments << "\n" << run.output;
        EXPECT_EQ(run.output.rfind("plughost: ", 0), 0u) << run.output;
        EXPECT_FALSE(fs::exists(out)) << arguments;
    }
    // A failure about a file names it.
    const std::vector<std::pair<std::string, std::string>> aboutFiles = {
        {"process " + swirlet + " " + path("missing.wav") + " " + out, path("missing.wav")},
        {"process " + path("not-a-plugin.so") + " " + in + " " + out, path("not-a-plugin.so")},
        {"process " + swirlet + " " + in + " " + out + " --set Nonsense=0.5", swirlet},
        {"process " + swirlet + " " + in + " " + out + " --program 16", swirlet},
        {"list " + path("missing-folder"), path("missing-folder")},
    };
    for (const auto& [arguments, file] : aboutFiles)
        EXPECT_NE(plughost(arguments).output.find(file), std::string::npos) << arguments;
    // Nothing half-written is left anywhere in the folder either.
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_EQ(entry.path().string().find("partial"), std::string::npos) << entry.path();
}

TEST_F(Plughost, BenchReportsPerFrameCostAndRealtimeFactor) {
    CommandResult run = plughost("bench " + swirlet + " --block 64 --seconds 0.5 --rate 48000");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("ns per stereo frame"), std::string::npos);
    EXPECT_NE(run.output.find("times realtime"), std::string::npos);
}

TEST_F(Plughost, SignalWritesTheBuiltInTestSignal) {
    ASSERT_EQ(plughost("signal " + path("signal.wav") + " --seconds 1 --rate 22050").status, 0);
    Audio signal = readAudio(path("signal.wav"));
    EXPECT_EQ(signal.rate, 22050);
    EXPECT_EQ(signal.channels, 2);
    float peak = 0.0f;
    for (float s : signal.samples)
        peak = std::max(peak, std::fabs(s));
    EXPECT_GT(peak, 0.1f);
    EXPECT_LT(peak, 0.71f);
}

} // namespace
