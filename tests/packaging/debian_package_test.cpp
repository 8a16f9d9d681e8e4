// The Debian package: built by CPack from the build folder, its files and control fields read
// back with dpkg-deb, checked by lintian, and its plug-ins (VST 2.x libraries and LV2 bundles)
// found in the unpacked tree.
#include "tests/support/run_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) result.push_back(line);
    return result;
}

std::vector<std::string> builtPlugins() {
    std::vector<std::string> names;
    std::istringstream in(BUILT_PLUGINS);
    for (std::string name; std::getline(in, name, ',');)
        names.push_back(name);
    return names;
}

// The package is built once for every test in this file.
class DebianPackage : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder = fs::temp_directory_path() / ("debian-package-test-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        const CommandOutcome cpack =
            runCommand("cpack -G DEB --config " CPACK_CONFIG " -B " + folder.string());
        ASSERT_EQ(cpack.status, 0) << cpack.output;
        deb = folder / (std::string(PACKAGE_NAME) + "_" PROJECT_VERSION_TEXT "_amd64.deb");
    }
    static void TearDownTestSuite() { fs::remove_all(folder); }
    static std::string field(const std::string& name) {
        CommandOutcome shown = runCommand("dpkg-deb -f " + deb.string() + " " + name);
        EXPECT_EQ(shown.status, 0) << shown.output;
        while (!shown.output.empty() && shown.output.back() == '\n')
            shown.output.pop_back();
        return shown.output;
    }
    static fs::path folder;
    static fs::path deb;
};

fs::path DebianPackage::folder;
fs::path DebianPackage::deb;

TEST_F(DebianPackage, HoldsThePluginsInTheSystemFolderAndTheDocumentsDebianAsksFor) {
    ASSERT_TRUE(fs::exists(deb)) << deb;
    const CommandOutcome listing = runCommand("dpkg-deb --contents " + deb.string());
    ASSERT_EQ(listing.status, 0) << listing.output;
    std::set<std::string> files; // regular files only: the path is the last column
    for (const std::string& line : lines(listing.output))
        if (line[0] == '-') files.insert(line.substr(line.rfind(' ') + 1));
    std::set<std::string> expected = {
        "./usr/share/doc/" PACKAGE_NAME "/copyright",
        "./usr/share/doc/" PACKAGE_NAME "/changelog.gz",
    };
    for (const std::string& plugin : builtPlugins()) {
        expected.insert("./usr/lib/vst/" + plugin + ".so");
        const std::string bundle = "./usr/lib/lv2/" + plugin + ".lv2/";
        for (const std::string file : {"manifest.ttl", ".ttl", ".so", "_ui.so"})
            expected.insert(bundle + (file[0] == 'm' ? file : plugin + file));
    }
    EXPECT_EQ(files, expected) << listing.output;
    // Shared objects are not executable, and everything belongs to root.
    for (const std::string& line : lines(listing.output)) {
        if (line[0] != '-') continue;
        EXPECT_EQ(line.rfind("-rw-r--r-- root/root", 0), 0u) << line;
    }
}

TEST_F(DebianPackage, ControlFieldsCarryTheProjectVersionAndTheComputedDependencies) {
    EXPECT_EQ(field("Package"), PACKAGE_NAME);
    EXPECT_EQ(field("Version"), PROJECT_VERSION_TEXT);
    EXPECT_EQ(field("Architecture"), "amd64");
    EXPECT_EQ(field("Section"), "sound");
    EXPECT_NE(field("Description").find('\n'), std::string::npos) << "a long description";
    // Names only: the minimum versions come from the build machine's libraries.
    std::set<std::string> names;
    std::istringstream depends(field("Depends"));
    for (std::string entry; std::getline(depends, entry, ',');) {
        const size_t start = entry.find_first_not_of(' ');
        names.insert(entry.substr(start, entry.find_first_of(" (", start) - start));
    }
    EXPECT_EQ(names, (std::set<std::string>{"libc6", "libfreetype6", "libx11-6", "libxext6"}));
}

TEST_F(DebianPackage, LintianFindsNoErrors) {
    const CommandOutcome lintian = runCommand("lintian --no-tag-display-limit " + deb.string());
    for (const std::string& line : lines(lintian.output))
        EXPECT_NE(line.rfind("E: ", 0), 0u) << line;
    EXPECT_EQ(lintian.status, 0) << lintian.output;
    std::printf("%s", lintian.output.c_str()); // warnings, for the log
}

#ifdef WITH_PLUGHOST
TEST_F(DebianPackage, UnpackedPluginsLoadAfterStripping) {
    const fs::path tree = folder / "tree";
    const CommandOutcome unpack = runCommand("dpkg-deb -x " + deb.string() + " " + tree.string());
    ASSERT_EQ(unpack.status, 0) << unpack.output;
    const CommandOutcome listed =
        runCommand(std::string(PLUGHOST_PATH) + " list " + (tree / "usr/lib/vst").string());
    ASSERT_EQ(listed.status, 0) << listed.output;
    for (const std::string& plugin : builtPlugins())
        EXPECT_NE(listed.output.find("/usr/lib/vst/" + plugin + ".so"), std::string::npos)
            << listed.output;
    EXPECT_EQ(listed.output.find("not loaded"), std::string::npos) << listed.output;
    const CommandOutcome lv2 = runCommand("LV2_PATH=" + (tree / "usr/lib/lv2").string() + " lv2ls");
    ASSERT_EQ(lv2.status, 0) << lv2.output;
    EXPECT_EQ(lines(lv2.output).size(), builtPlugins().size()) << lv2.output;
    for (const std::string& plugin : builtPlugins())
        EXPECT_NE(lv2.output.find("/lv2/" + plugin + "\n"), std::string::npos) << lv2.output;
}
#endif

} // namespace
