// The file-chooser portal path: a private session bus with the stand-in portal, checked for
// the request it received and for what its answers become.
#include "gui/file_selector.h"

#include "gui/editor_base.h"
#include "tests/frame/probe_effect.h"

#include "tests/gui/file_selector/stand_in_dialogs.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <map>
#include <sys/wait.h>

namespace {

pid_t startProgram(const std::vector<std::string>& argv, int outputFd) {
    const pid_t child = fork();
    if (child == 0) {
        if (outputFd >= 0) dup2(outputFd, 1);
        std::vector<char*> arguments;
        for (const std::string& argument : argv)
            arguments.push_back(const_cast<char*>(argument.c_str()));
        arguments.push_back(nullptr);
        execv(arguments[0], arguments.data());
        _exit(127);
    }
    return child;
}

void stopProgram(pid_t child) {
    if (child <= 0) return;
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
}

// A session bus of the test's own and the stand-in portal on it.
class PortalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string config = dialogs.folder + "/bus.conf";
        std::ofstream(config)
            << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
               "1.0//EN\"\n"
               " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
               "<busconfig><type>session</type><listen>unix:dir="
            << dialogs.folder
            << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
               "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
               "<allow own=\"*\"/></policy></busconfig>\n";
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        bus = startProgram({"/usr/bin/dbus-daemon", "--config-file=" + config, "--nofork",
                            "--nopidfile", "--print-address=1"},
                           pipeEnds[1]);
        close(pipeEnds[1]);
        std::string address;
        for (char c; read(pipeEnds[0], &c, 1) == 1 && c != '\n';)
            address += c;
        close(pipeEnds[0]);
        ASSERT_FALSE(address.empty()) << "dbus-daemon gave no address";
        setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);

        record = dialogs.folder + "/portal.record";
        answerFile = dialogs.folder + "/portal.answer";
        const std::string ready = dialogs.folder + "/portal.ready";
        portal = startProgram({STAND_IN_PORTAL, record, answerFile, ready}, -1);
        for (int i = 0; i < 500 && !std::filesystem::exists(ready); ++i)
            usleep(10000);
        ASSERT_TRUE(std::filesystem::exists(ready)) << "the stand-in portal did not start";

        std::memset(&request, 0, sizeof request);
        std::strcpy(request.title, "Pick");
        chosen = dialogs.makeFile("a b.wav");
        dialogs.install("zenity", {chosen});
    }
    void TearDown() override {
        stopProgram(portal);
        stopProgram(bus);
    }
    void portalAnswers(const std::string& text) { std::ofstream(answerFile) << text; }
    // What the portal was asked, by key.
    std::map<std::string, std::string> asked() {
        std::map<std::string, std::string> keys;
        std::ifstream in(record);
        for (std::string line; std::getline(in, line);) {
            const size_t equals = line.find('=');
            keys[line.substr(0, equals)] = line.substr(equals + 1);
        }
        return keys;
    }

    StandInDialogs dialogs;
    pid_t bus = -1;
    pid_t portal = -1;
    std::string record;
    std::string answerFile;
    VstFileSelect request;
    std::string chosen;
};

TEST_F(PortalTest, OpenFileGetsTheRequestAndItsUrisBecomePaths) {
    VstFileType types[2];
    std::memset(types, 0, sizeof types);
    std::strcpy(types[0].name, "Wave");
    std::strcpy(types[0].dosType, "wav");
    std::strcpy(types[1].name, "Text");
    std::strcpy(types[1].dosType, "txt");
    std::strcpy(request.title, "Pick \xe9"); // 8-bit text: the bus takes only UTF-8
    request.command = kVstMultipleFilesLoad;
    request.fileTypes = types;
    request.nbFileTypes = 2;
    std::string start = dialogs.folder;
    request.initialPath = start.data();
    const std::string other = dialogs.makeFile("\xc3\xa9t\xc3\xa9.wav");
    portalAnswers("0\nfile://" + dialogs.folder + "/a%20b.wav\nfile://" + dialogs.folder +
                  "/%C3%A9t%C3%A9.wav\n");

    FileSelector selector(nullptr);
    ASSERT_EQ(selector.run(&request), 2);
    EXPECT_STREQ(request.returnMultiplePaths[0], chosen.c_str());
    EXPECT_STREQ(request.returnMultiplePaths[1], other.c_str());
    auto keys = asked();
    EXPECT_EQ(keys["method"], "OpenFile");
    EXPECT_EQ(keys["title"], "Pick \xc3\xa9");
    EXPECT_EQ(keys["parent"], "");
    EXPECT_EQ(keys["multiple"], "true");
    EXPECT_EQ(keys.count("directory"), 0u);
    EXPECT_EQ(keys["modal"], "true");
    EXPECT_EQ(keys["current_folder"], start + "0");
    EXPECT_EQ(keys["filters"], "All Types: (*.wav;*.txt)|0:*.wav,0:*.txt;Wave (.wav)|0:*.wav;"
                               "Text (.txt)|0:*.txt;Any Type (*.*)|0:*");
    EXPECT_FALSE(dialogs.ran("zenity"));
}

TEST_F(PortalTest, DirectoryAndSaveUseTheirCalls) {
    portalAnswers("0\nfile://" + dialogs.folder + "\n");
    request.command = kVstDirectorySelect;
    FileSelector selector(nullptr);
    EXPECT_EQ(selector.run(&request), 1);
    EXPECT_EQ(request.returnPath, dialogs.folder);
    EXPECT_EQ(asked()["directory"], "true");
    EXPECT_EQ(asked().count("filters"), 0u);

    portalAnswers("0\nfile://" + dialogs.folder + "/new.wav\n");
    request.command = kVstFileSave;
    EXPECT_EQ(selector.run(&request), 1);
    EXPECT_EQ(request.returnPath, dialogs.folder + "/new.wav");
    EXPECT_EQ(asked()["method"], "SaveFile");
    EXPECT_FALSE(dialogs.ran("zenity"));
}

// A portal that answered decides: cancel, failure or an answer that is not a local file give
// no path and no second dialog. A portal that refuses the call leaves it to the programs.
TEST_F(PortalTest, AnAnsweringPortalDecidesARefusingOneHandsOver) {
    for (const char* answer :
         {"1\n", "2\n", "0\nhttps://example.org/a.wav\n", "0\nfile:///definitely/not/here.wav\n"}) {
        portalAnswers(answer);
        FileSelector selector(nullptr);
        EXPECT_EQ(selector.run(&request), 0) << answer;
        EXPECT_EQ(request.returnPath, nullptr) << answer;
        EXPECT_FALSE(dialogs.ran("zenity")) << answer;
    }
    portalAnswers("error\n");
    FileSelector selector(nullptr);
    EXPECT_EQ(selector.run(&request), 1);
    EXPECT_STREQ(request.returnPath, chosen.c_str());
    EXPECT_TRUE(dialogs.ran("zenity"));
}

// The portal leaves the bus while its dialog is open: no path, no second dialog, no hang.
class PortalKillingEditor : public EditorBase {
  public:
    using EditorBase::EditorBase;
    void doIdleStuff() override {
        if (++idleCalls == 5) kill(portal, SIGKILL);
    }
    pid_t portal = -1;
    int idleCalls = 0;
};

TEST_F(PortalTest, PortalLeavingWhileOpenGivesNoPath) {
    portalAnswers("hang\n");
    ProbeEffect effect;
    auto* editor = new PortalKillingEditor(&effect); // the effect owns it
    editor->portal = portal;
    editor->open(reinterpret_cast<void*>(uintptr_t{0x2a00007}));
    FileSelector selector(&effect);
    EXPECT_EQ(selector.run(&request), 0);
    EXPECT_EQ(asked()["parent"], "x11:2a00007");
    EXPECT_GE(editor->idleCalls, 5);
    EXPECT_FALSE(dialogs.ran("zenity"));
}

// A host that closes the effect while the portal's dialog is open: the portal is asked to
// close that dialog, and no other dialog is tried.
class EffectClosingEditor : public EditorBase {
  public:
    using EditorBase::EditorBase;
    void doIdleStuff() override {
        if (++idleCalls == 5) delete effect; // and with it this editor
    }
    static inline int idleCalls = 0;
};

TEST_F(PortalTest, EffectClosedWhileOpenClosesThePortalsDialog) {
    portalAnswers("hang\n");
    auto* owner = new ProbeEffect;
    new EffectClosingEditor(owner); // the effect owns it
    FileSelector selector(owner);
    EXPECT_EQ(selector.run(&request), 0);
    EXPECT_TRUE(selector.ownerClosed());
    std::string closed;
    for (int i = 0; i < 200 && closed.empty(); ++i) {
        usleep(10000);
        closed = asked()["closed"];
    }
    EXPECT_EQ(closed.rfind("/org/freedesktop/portal/desktop/request/", 0), 0u) << closed;
    EXPECT_NE(closed.find("filesel_"), std::string::npos) << closed;
    EXPECT_FALSE(dialogs.ran("zenity"));
}

} // namespace
