// FileSelector: the host-first rule, how results are laid out in the request and released,
// and what the desktop path gives when the dialog cancels, dies, is missing or answers badly.
// The desktop dialogs are the stand-in programs of StandInDialogs.
#include "gui/file_selector.h"

#include "gui/editor_base.h"
#include "tests/frame/probe_effect.h"
#include "tests/gui/file_selector/stand_in_dialogs.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct HostCall {
    int32_t opcode;
    void* ptr;
};
std::vector<HostCall> hostCalls;
std::vector<std::string> hostCanDo; // the words the host answers yes to
int32_t hostPathCount = 3;          // what the host's selector reports

intptr_t selectorHost(AEffect*, int32_t opcode, int32_t, intptr_t, void* ptr, float) {
    if (opcode == audioMasterCanDo) {
        for (const std::string& word : hostCanDo)
            if (word == static_cast<const char*>(ptr)) return 1;
        return 0;
    }
    hostCalls.push_back({opcode, ptr});
    if (opcode == audioMasterOpenFileSelector) {
        static_cast<VstFileSelect*>(ptr)->nbReturnPath = hostPathCount;
        return 1;
    }
    return opcode == audioMasterCloseFileSelector ? 1 : 0;
}

bool hostSaw(int32_t opcode) {
    for (const HostCall& call : hostCalls)
        if (call.opcode == opcode) return true;
    return false;
}

class FileSelectorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        hostCalls.clear();
        hostCanDo.clear();
        std::memset(&request, 0, sizeof request);
        request.command = kVstFileLoad;
        std::strcpy(request.title, "Load a sample");
    }
    StandInDialogs dialogs;
    ProbeEffect effect{selectorHost};
    VstFileSelect request;
};

TEST_F(FileSelectorTest, HostOfferingBothRequestsGetsTheRequestAndNoDialogStarts) {
    hostCanDo = {"openFileSelector", "closeFileSelector"};
    dialogs.install("zenity", {dialogs.makeFile("a.wav")});
    {
        FileSelector selector(&effect);
        EXPECT_EQ(selector.run(&request), 3);
        ASSERT_EQ(hostCalls.size(), 1u);
        EXPECT_EQ(hostCalls[0].opcode, audioMasterOpenFileSelector);
        EXPECT_EQ(hostCalls[0].ptr, &request);
        EXPECT_STREQ(request.title, "Load a sample");
    }
    ASSERT_EQ(hostCalls.size(), 2u);
    EXPECT_EQ(hostCalls[1].opcode, audioMasterCloseFileSelector);
    EXPECT_EQ(hostCalls[1].ptr, &request);
    EXPECT_FALSE(dialogs.ran("zenity"));

    hostPathCount = -5;
    FileSelector selector(&effect);
    EXPECT_EQ(selector.run(&request), 0);
    hostPathCount = 3;
}

// A host that offers only one request never sees the record, not even to release it (the
// selector's own allocation is freed by the selector).
TEST_F(FileSelectorTest, HostOfferingOneRequestLeavesTheSelectionToTheDesktop) {
    const std::string chosen = dialogs.makeFile("a.wav");
    dialogs.install("zenity", {chosen});
    for (const char* word : {"openFileSelector", "closeFileSelector"}) {
        hostCanDo = {word};
        {
            FileSelector selector(&effect);
            EXPECT_EQ(selector.run(&request), 1) << word;
            EXPECT_STREQ(request.returnPath, chosen.c_str());
        }
        EXPECT_FALSE(hostSaw(audioMasterOpenFileSelector)) << word;
        EXPECT_FALSE(hostSaw(audioMasterCloseFileSelector)) << word;
        EXPECT_EQ(request.returnPath, nullptr);
    }
}

TEST_F(FileSelectorTest, OnePathGoesIntoAnAllocatedReturnPathFreedOnDestruction) {
    const std::string chosen = dialogs.makeFile("Ordner mit Leerzeichen/Grüße.wav");
    dialogs.install("zenity", {chosen});
    {
        FileSelector selector(nullptr);
        EXPECT_EQ(selector.run(&request), 1);
        EXPECT_EQ(request.nbReturnPath, 1);
        EXPECT_STREQ(request.returnPath, chosen.c_str());
        EXPECT_EQ(request.sizeReturnPath, static_cast<int32_t>(chosen.size() + 1));
        EXPECT_EQ(request.reserved, 1);
    }
    EXPECT_EQ(request.returnPath, nullptr);
    EXPECT_EQ(request.sizeReturnPath, 0);
    EXPECT_EQ(request.reserved, 0);
}

// The caller's buffer takes the path whole or stays empty; nothing is written past its size.
TEST_F(FileSelectorTest, CallersBufferIsFilledOnlyWithinItsSize) {
    const std::string chosen = dialogs.makeFile("twelve.wav"); // folder + 11 characters
    dialogs.install("zenity", {chosen});
    for (const size_t size : {chosen.size(), chosen.size() + 1}) {
        std::vector<char> buffer(size + 8, '#');
        request.returnPath = buffer.data();
        request.sizeReturnPath = static_cast<int32_t>(size);
        FileSelector selector(nullptr);
        const bool fits = size > chosen.size();
        EXPECT_EQ(selector.run(&request), fits ? 1 : 0) << size;
        EXPECT_EQ(std::string(buffer.data()), fits ? chosen : "") << size;
        EXPECT_EQ(std::string(buffer.data() + size, 8), "########") << size;
        EXPECT_EQ(request.reserved, 0);
    }
}

// More than 1024 files and paths far beyond 1024 bytes arrive whole.
TEST_F(FileSelectorTest, MultipleSelectionKeepsEveryPathWhole) {
    std::string deep;
    for (int level = 0; level < 9; ++level)
        deep += std::string(240, 'd') + "/";
    std::vector<std::string> chosen{dialogs.makeFile(deep + "long.wav")};
    for (int i = 0; i < 1500; ++i)
        chosen.push_back(dialogs.makeFile("many/" + std::to_string(i)));
    ASSERT_GT(chosen[0].size(), 2000u);
    dialogs.install("zenity", chosen);
    request.command = kVstMultipleFilesLoad;
    FileSelector selector(nullptr);
    ASSERT_EQ(selector.run(&request), 1501);
    ASSERT_EQ(request.nbReturnPath, 1501);
    for (size_t i = 0; i < chosen.size(); ++i)
        ASSERT_STREQ(request.returnMultiplePaths[i], chosen[i].c_str()) << i;
}

TEST_F(FileSelectorTest, NextRunReleasesWhatTheLastOneReturned) {
    const std::string chosen = dialogs.makeFile("a.wav");
    dialogs.install("zenity", {chosen, chosen});
    request.command = kVstMultipleFilesLoad;
    FileSelector selector(nullptr);
    ASSERT_EQ(selector.run(&request), 2);
    dialogs.install("zenity", {}, "1");
    EXPECT_EQ(selector.run(&request), 0);
    EXPECT_EQ(request.returnMultiplePaths, nullptr);
    EXPECT_EQ(request.nbReturnPath, 0);
}

// Cancel, a dialog that dies or fails, no dialog program at all, and answers that are not a
// loadable file all give 0 paths and an empty return buffer.
TEST_F(FileSelectorTest, NoChoiceGivesNoPathAndAnEmptyBuffer) {
    const std::string chosen = dialogs.makeFile("a.wav");
    struct Case {
        const char* what;
        std::vector<std::string> answer;
        const char* status;
    } cases[] = {
        {"cancelled", {}, "1"},
        {"killed", {chosen}, "die"},
        {"failed", {chosen}, "5"},
        {"relative path", {"a.wav"}, "0"},
        {"missing file", {chosen + ".gone"}, "0"},
        {"nothing printed", {}, "0"},
        {"two paths for one", {chosen, chosen}, "0"},
        {"no program", {}, nullptr},
        {"unknown command", {chosen}, "0"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(dialogs.bin + "/zenity");
        if (c.status) dialogs.install("zenity", c.answer, c.status);
        char buffer[64] = "old contents";
        request.returnPath = buffer;
        request.sizeReturnPath = sizeof buffer;
        request.nbReturnPath = 9;
        request.command = std::string(c.what) == "unknown command" ? 4 : kVstFileLoad;
        FileSelector selector(nullptr);
        EXPECT_EQ(selector.run(&request), 0) << c.what;
        EXPECT_EQ(request.nbReturnPath, 0) << c.what;
        EXPECT_STREQ(buffer, "") << c.what;
    }
}

TEST_F(FileSelectorTest, KdialogAnswersWhenZenityIsMissing) {
    const std::string chosen = dialogs.makeFile("a.wav");
    dialogs.install("kdialog", {chosen});
    FileSelector selector(nullptr);
    EXPECT_EQ(selector.run(&request), 1);
    EXPECT_STREQ(request.returnPath, chosen.c_str());
}

// While the dialog is open the editor's idle pump keeps running; a run started from there
// (the editor's views react to clicks) does nothing and leaves its request alone.
class IdlingEditor : public EditorBase {
  public:
    using EditorBase::EditorBase;
    void doIdleStuff() override {
        if (++idleCalls == 1) {
            std::memset(&second, 0, sizeof second);
            second.nbReturnPath = 77;
            FileSelector nested(effect);
            secondResult = nested.run(&second);
        }
    }
    int idleCalls = 0;
    int32_t secondResult = -1;
    VstFileSelect second;
};

TEST_F(FileSelectorTest, EditorKeepsIdlingAndASecondRunMeanwhileIsHarmless) {
    auto* editor = new IdlingEditor(&effect); // the effect owns it
    const std::string chosen = dialogs.makeFile("a.wav");
    dialogs.install("zenity", {chosen}, "0", "0.3");
    FileSelector selector(&effect);
    EXPECT_EQ(selector.run(&request), 1);
    EXPECT_GT(editor->idleCalls, 3);
    EXPECT_EQ(editor->secondResult, 0);
    EXPECT_EQ(editor->second.nbReturnPath, 77);
}

// A host that closes the effect from inside the idle pump while the dialog is open: the dialog
// is given up at once, and neither the effect nor the request is touched again.
class ClosingHostEditor : public EditorBase {
  public:
    using EditorBase::EditorBase;
    void doIdleStuff() override {
        if (++idleCalls == 2) delete effect; // and with it this editor
    }
    static inline int idleCalls = 0;
};

TEST_F(FileSelectorTest, EffectClosedWhileTheDialogIsOpenEndsTheDialog) {
    auto* owner = new ProbeEffect(selectorHost);
    new ClosingHostEditor(owner); // the effect owns it
    ClosingHostEditor::idleCalls = 0;
    dialogs.install("zenity", {dialogs.makeFile("a.wav")}, "0", "30");
    FileSelector selector(owner);
    EXPECT_EQ(selector.run(&request), 0);
    EXPECT_TRUE(selector.ownerClosed());
    EXPECT_EQ(ClosingHostEditor::idleCalls, 2);
    EXPECT_EQ(request.returnPath, nullptr);
    EXPECT_EQ(request.nbReturnPath, 0);
    EXPECT_EQ(selector.run(&request), 0); // nothing left to run for
}

} // namespace

namespace {

// A host that ignores SIGCHLD has its children reaped for it: the answer still counts.
TEST_F(FileSelectorTest, HostIgnoringChildSignalsStillGetsTheAnswer) {
    const std::string chosen = dialogs.makeFile("a.wav");
    const auto previous = signal(SIGCHLD, SIG_IGN);
    dialogs.install("zenity", {chosen});
    FileSelector selector(nullptr);
    EXPECT_EQ(selector.run(&request), 1);
    EXPECT_STREQ(request.returnPath, chosen.c_str());
    dialogs.install("zenity", {}, "1");
    EXPECT_EQ(selector.run(&request), 0);
    signal(SIGCHLD, previous);
}

} // namespace
