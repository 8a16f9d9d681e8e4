// The main job on a short input: its page parses, every file the page refers to exists, each
// plug-in has its section with a panel exactly when its record says it has an editor and with
// the URI of its LV2 plug-in, and the terminal output ends with one summary line per plug-in
// and the page's path.
#include "tools/plughost/plugin_host.h"

#include "tests/support/run_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        if (!part.empty()) parts.push_back(part);
    return parts;
}

bool hasEditor(const std::string& plugin) {
    std::string error;
    auto host = PluginHost::load(BUILD_DIR "/plugins/" + plugin + ".so", error);
    EXPECT_TRUE(host) << error;
    return host && (host->effect()->flags & effFlagsHasEditor);
}

TEST(DemoPage, ShowsEachPluginsPanelParametersSpectrogramsAndPlayers) {
    const fs::path folder =
        fs::temp_directory_path() / ("demo-page-test-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string input = (folder / "in.wav").string();
    ASSERT_EQ(runCommand(PLUGHOST_PATH " signal " + input + " --seconds 1.5").status, 0);
    const CommandOutcome demo =
        runCommand("cd " + folder.string() +
                   " && DEMO_BUILD=" BUILD_DIR " bash " SOURCE_DIR "/tools/run-demo.sh " + input);
    ASSERT_EQ(demo.status, 0) << demo.output;
    const fs::path out = folder / "out";
    const std::string page = (out / "index.html").string();

    // The page is well-formed (strict XML parsing) and refers only to files that exist.
    const CommandOutcome parsed = runCommand("xmllint --noout " + page);
    EXPECT_EQ(parsed.status, 0) << parsed.output;
    const CommandOutcome references = runCommand("xmllint --xpath '//@src|//@href' " + page +
                                                 " | sed 's/^ *[a-z]*=\"//; s/\"$//'");
    ASSERT_EQ(references.status, 0) << references.output;
    const std::vector<std::string> files = split(references.output, '\n');
    EXPECT_FALSE(files.empty());
    for (const std::string& file : files)
        EXPECT_TRUE(fs::is_regular_file(out / file)) << file;

    const std::vector<std::string> plugins = split(BUILT_PLUGINS, ',');
    auto count = [&](const std::string& xpath) {
        std::string answer = runCommand("xmllint --xpath 'count(" + xpath + ")' " + page).output;
        while (!answer.empty() && answer.back() == '\n')
            answer.pop_back();
        return answer;
    };
    for (const std::string& plugin : plugins) {
        const std::string section = "//section[@id=\"" + plugin + "\"]";
        EXPECT_EQ(count(section), "1") << plugin;
        EXPECT_EQ(count(section + "//img[@class=\"panel\"][@src=\"" + plugin + "-panel.png\"]"),
                  hasEditor(plugin) ? "1" : "0")
            << plugin;
        EXPECT_EQ(count(section + "//p[@class=\"no-editor\"]"), hasEditor(plugin) ? "0" : "1");
        EXPECT_EQ(count(section + "//img[@src=\"" + plugin + "-spectrogram.png\"]"), "1");
        EXPECT_EQ(count(section + "//img[@src=\"input-spectrogram.png\"]"), "1");
        EXPECT_EQ(count(section + "//audio[@src=\"" + plugin + ".wav\"]"), "1");
        EXPECT_EQ(count(section + "//audio[@src=\"input.wav\"]"), "1");
        EXPECT_NE(count(section + "//tbody/tr"), "0") << "the parameter table of " << plugin;
        EXPECT_EQ(
            count(section + "//p[@class=\"lv2\"]/code[text()=\"" LV2_URI_BASE + plugin + "\"]"),
            "1")
            << "the LV2 plug-in of " << plugin;
    }

    // The terminal output ends with the summary: one line per plug-in, then the page.
    const std::vector<std::string> lines = split(demo.output, '\n');
    ASSERT_GE(lines.size(), plugins.size() + 2);
    EXPECT_EQ(lines.back(), "Page: " + page);
    EXPECT_EQ(lines[lines.size() - plugins.size() - 2], "Summary:");
    for (size_t i = 0; i < plugins.size(); ++i) {
        const std::string& line = lines[lines.size() - plugins.size() - 1 + i];
        EXPECT_NE(line.find(" parameters "), std::string::npos) << line;
        EXPECT_NE(line.find(" dB out"), std::string::npos) << line;
    }
    fs::remove_all(folder);
}

} // namespace
