// The effect record: the values a new effect starts with (its layout is checked where it is
// declared, at compile time).
#include "tests/frame/probe_effect.h"

#include <gtest/gtest.h>

#include <cstddef>

TEST(EffectRecordDefaults, NewEffectFillsEveryField) {
    ProbeEffect effect;
    const AEffect* record = effect.getAeffect();
    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_NE(record->dispatcher, nullptr);
    EXPECT_NE(record->process, nullptr);
    EXPECT_NE(record->processReplacing, nullptr);
    EXPECT_NE(record->setParameter, nullptr);
    EXPECT_NE(record->getParameter, nullptr);
    EXPECT_EQ(record->numPrograms, 16);
    EXPECT_EQ(record->numParams, 4);
    EXPECT_EQ(record->numInputs, 1);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, 0);
    EXPECT_EQ(record->resvd1, 0);
    EXPECT_EQ(record->resvd2, 0);
    EXPECT_EQ(record->initialDelay, 0);
    EXPECT_EQ(record->realQualities, 0);
    EXPECT_EQ(record->offQualities, 0);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_EQ(record->object, &effect);
    EXPECT_EQ(record->user, nullptr);
    EXPECT_EQ(record->uniqueID, 0x4E6F4566);
    EXPECT_EQ(record->version, 1);
    for (char byte : record->future)
        EXPECT_EQ(byte, 0);
    EXPECT_EQ(effect.getSampleRate(), 44100.0f);
    EXPECT_EQ(effect.getBlockSize(), 1024);
    EXPECT_EQ(effect.getProgram(), 0);
}

TEST(EffectRecordFlags, SettersSetAndClearOnlyTheirBit) {
    ProbeEffect effect;
    AEffect* record = effect.getAeffect();
    effect.setHasVu(true);
    effect.setCanMono(true);
    effect.setCanReplacing(true);
    EXPECT_EQ(record->flags, 28);
    effect.setHasVu(false);
    EXPECT_EQ(record->flags, 24);
    effect.setHasClip(true);
    effect.setProgramsAreChunks(true);
    effect.setIsSynth(true);
    effect.setNoTail(true);
    effect.setWantsAsync(true);
    effect.setHasExternalBuffer(true);
    EXPECT_EQ(record->flags, 24 | 2 | 32 | 256 | 512 | 1024 | 2048);
    EXPECT_EQ(effect.getPlugCategory(), 2);
    effect.setIsSynth(false);
    EXPECT_EQ(effect.getPlugCategory(), 0);
    effect.setUniqueId(fourCharCode('L', 'F', 's', 'w'));
    EXPECT_EQ(record->uniqueID, 0x4C467377);
    effect.setNumInputs(2);
    effect.setInitialDelay(17);
    effect.setRealtimeQualities(3);
    effect.setOfflineQualities(4);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->initialDelay, 17);
    EXPECT_EQ(record->realQualities, 3);
    EXPECT_EQ(record->offQualities, 4);
}

TEST(CapabilityWords, ListsHoldTheirWords) {
    EXPECT_EQ(kHostCanDoWordCount, 15);
    EXPECT_STREQ(kHostCanDoWords[13], "openFileSelector");
    EXPECT_STREQ(kHostCanDoWords[14], "closeFileSelector");
    EXPECT_EQ(kPluginCanDoWordCount, 25);
    EXPECT_STREQ(kPluginCanDoWords[0], "sendVstEvents");
    EXPECT_STREQ(kPluginCanDoWords[24], "conformsToWindowRules");
}
