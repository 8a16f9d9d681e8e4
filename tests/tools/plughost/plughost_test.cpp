// plughost as people use it: info and process on our plug-ins and a third-party one, and the
// one-line failures that leave no output file behind.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct CommandResult {
    int status;
    std::string output; // stdout and stderr together
};

CommandResult plughost(const std::string& arguments) {
    const std::string command = std::string(PLUGHOST_PATH) + " " + arguments + " 2>&1";
    CommandResult run{-1, ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
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
    };
    for (const std::string& arguments : cases) {
        CommandResult run = plughost(arguments);
        EXPECT_NE(run.status, 0) << arguments;
        EXPECT_EQ(lineCount(run.output), 1u) << arguments << "\n" << run.output;
        EXPECT_EQ(run.output.rfind("plughost: ", 0), 0u) << run.output;
        EXPECT_FALSE(fs::exists(out)) << arguments;
    }
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
