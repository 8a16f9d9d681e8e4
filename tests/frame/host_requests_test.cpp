// The host request wrappers: what each sends, how answers are read, and the absent-host values.
#include "frame/host_entry.h"
#include "tests/frame/probe_effect.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Request {
    AEffect* effect;
    int32_t opcode;
    int32_t index;
    intptr_t value;
    void* ptr;
    float opt;
};

std::vector<Request> requests;
intptr_t nextAnswer = 0;

intptr_t recordingHost(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                       float opt) {
    requests.push_back({effect, opcode, index, value, ptr, opt});
    return nextAnswer;
}

class HostRequests : public ::testing::Test {
  protected:
    void SetUp() override {
        requests.clear();
        nextAnswer = 0;
    }
    ProbeEffect effect{recordingHost};
};

TEST_F(HostRequests, AutomateSetsTheParameterFirstThenTellsTheHost) {
    nextAnswer = 7;
    EXPECT_EQ(effect.automateParameter(2, 0.75f), 7);
    ASSERT_EQ(effect.parameterCalls.size(), 1u);
    EXPECT_EQ(effect.parameterCalls[0].index, 2);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].opcode, audioMasterAutomate);
    EXPECT_EQ(requests[0].effect, effect.getAeffect());
    EXPECT_EQ(requests[0].index, 2);
    EXPECT_EQ(requests[0].opt, 0.75f);
}

TEST_F(HostRequests, AnswersAreReadAsTheHostMeansThem) {
    nextAnswer = 0;
    EXPECT_EQ(effect.hostVersion(), 1);      // 0 reads as 1
    EXPECT_TRUE(effect.isInputConnected(3)); // 0 means connected
    EXPECT_EQ(requests.back().opcode, audioMasterPinConnected);
    EXPECT_EQ(requests.back().index, 3);
    EXPECT_EQ(requests.back().value, 0);
    EXPECT_TRUE(effect.isOutputConnected(1));
    EXPECT_EQ(requests.back().value, 1);
    nextAnswer = 2;
    EXPECT_FALSE(effect.isInputConnected(0));
    EXPECT_FALSE(effect.sendEventsToHost(nullptr)); // only exactly 1 is success
    nextAnswer = 1;
    EXPECT_TRUE(effect.sendEventsToHost(nullptr));
    EXPECT_EQ(effect.hostVersion(), 1);
    nextAnswer = 2400;
    EXPECT_EQ(effect.hostVersion(), 2400);
}

TEST_F(HostRequests, WrappersSendTheirOpcodeAndArguments) {
    nextAnswer = 5;
    EXPECT_TRUE(effect.sizeWindow(320, 200));
    EXPECT_EQ(requests.back().opcode, audioMasterSizeWindow);
    EXPECT_EQ(requests.back().index, 320);
    EXPECT_EQ(requests.back().value, 200);
    EXPECT_TRUE(effect.beginEdit(4));
    EXPECT_EQ(requests.back().opcode, audioMasterBeginEdit);
    EXPECT_EQ(requests.back().index, 4);
    EXPECT_TRUE(effect.endEdit(4));
    EXPECT_EQ(requests.back().opcode, audioMasterEndEdit);
    EXPECT_EQ(effect.tempoAt(1234), 5);
    EXPECT_EQ(requests.back().value, 1234);
    EXPECT_TRUE(effect.offlineStart(nullptr, 3, 2));
    EXPECT_EQ(requests.back().index, 2);
    EXPECT_EQ(requests.back().value, 3);
    char word[] = "sizeWindow";
    EXPECT_TRUE(effect.canHostDo(word));
    EXPECT_EQ(requests.back().ptr, word);
    effect.setOutputSampleRate(48000.0f);
    EXPECT_EQ(requests.back().opcode, audioMasterSetOutputSampleRate);
    EXPECT_EQ(requests.back().opt, 48000.0f);
    EXPECT_EQ(effect.hostVendorSpecific(1, 2, word, 0.5f), 5);
    EXPECT_EQ(requests.back().opcode, audioMasterVendorSpecific);
}

TEST_F(HostRequests, SampleRateAndBlockSizeQueriesReturnTheStoredValues) {
    nextAnswer = 96000;
    EXPECT_EQ(effect.updateSampleRate(), 44100.0f);
    EXPECT_EQ(requests.back().opcode, audioMasterGetSampleRate);
    EXPECT_EQ(effect.updateBlockSize(), 1024);
    EXPECT_EQ(requests.back().opcode, audioMasterGetBlockSize);
}

TEST_F(HostRequests, FileSelectorRequestsNeedARecord) {
    nextAnswer = 1;
    EXPECT_FALSE(effect.openFileSelector(nullptr));
    EXPECT_FALSE(effect.closeFileSelector(nullptr));
    EXPECT_FALSE(effect.getChunkFile(nullptr));
    EXPECT_TRUE(requests.empty());
}

TEST(HostRequestsAbsent, EveryWrapperAnswersItsAbsentValue) {
    ProbeEffect effect(nullptr);
    EXPECT_EQ(effect.automateParameter(0, 0.5f), 0);
    EXPECT_EQ(effect.parameterCalls.size(), 1u);
    EXPECT_EQ(effect.hostVersion(), 1);
    EXPECT_EQ(effect.hostIdle(), 0);
    EXPECT_TRUE(effect.isInputConnected(0));
    EXPECT_TRUE(effect.isOutputConnected(0));
    EXPECT_EQ(effect.getTimeInfo(0), nullptr);
    EXPECT_FALSE(effect.sendEventsToHost(nullptr));
    EXPECT_FALSE(effect.ioChanged());
    EXPECT_FALSE(effect.sizeWindow(1, 1));
    EXPECT_EQ(effect.updateSampleRate(), 44100.0f);
    EXPECT_EQ(effect.updateBlockSize(), 1024);
    EXPECT_EQ(effect.previousPlug(0), nullptr);
    EXPECT_FALSE(effect.beginEdit(0));
    EXPECT_EQ(effect.openHostWindow(nullptr), nullptr);
    EXPECT_EQ(effect.hostDirectory(), nullptr);
}

// ---- the library entry ----

struct EntryProbe : ProbeEffect {
    EntryProbe(audioMasterCallback host, EditorFactory) : ProbeEffect(host, &destroyedFlagStorage) {
        failed = failNext;
        ++constructed;
    }
    static inline bool failNext = false;
    static inline bool destroyedFlagStorage = false;
    static inline int constructed = 0;
};

TEST_F(HostRequests, EntryRefusesAHostThatAnswersVersionZero) {
    nextAnswer = 0;
    EntryProbe::constructed = 0;
    EXPECT_EQ(runHostEntry<EntryProbe>(recordingHost, nullptr), nullptr);
    EXPECT_EQ(EntryProbe::constructed, 0);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].opcode, audioMasterVersion);
    EXPECT_EQ(requests[0].effect, nullptr);
    EXPECT_EQ(runHostEntry<EntryProbe>(nullptr, nullptr), nullptr);
}

TEST_F(HostRequests, EntryDestroysAnEffectWhoseConstructionFailed) {
    nextAnswer = 2400;
    EntryProbe::failNext = true;
    EntryProbe::destroyedFlagStorage = false;
    EXPECT_EQ(runHostEntry<EntryProbe>(recordingHost, nullptr), nullptr);
    EXPECT_TRUE(EntryProbe::destroyedFlagStorage);
    EntryProbe::failNext = false;
    AEffect* record = runHostEntry<EntryProbe>(recordingHost, nullptr);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->magic, kEffectMagic);
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
}

} // namespace
