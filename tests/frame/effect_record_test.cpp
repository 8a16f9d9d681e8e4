// The effect record: the 64-bit layout hosts read and the values a new effect starts with.
#include "tests/frame/probe_effect.h"

#include <gtest/gtest.h>

#include <cstddef>

TEST(EffectRecordLayout, MatchesTheLayoutHostsRead) {
    EXPECT_EQ(offsetof(AEffect, magic), 0u);
    EXPECT_EQ(offsetof(AEffect, dispatcher), 8u);
    EXPECT_EQ(offsetof(AEffect, process), 16u);
    EXPECT_EQ(offsetof(AEffect, setParameter), 24u);
    EXPECT_EQ(offsetof(AEffect, getParameter), 32u);
    EXPECT_EQ(offsetof(AEffect, numPrograms), 40u);
    EXPECT_EQ(offsetof(AEffect, numParams), 44u);
    EXPECT_EQ(offsetof(AEffect, numInputs), 48u);
    EXPECT_EQ(offsetof(AEffect, numOutputs), 52u);
    EXPECT_EQ(offsetof(AEffect, flags), 56u);
    EXPECT_EQ(offsetof(AEffect, resvd1), 64u);
    EXPECT_EQ(offsetof(AEffect, resvd2), 72u);
    EXPECT_EQ(offsetof(AEffect, initialDelay), 80u);
    EXPECT_EQ(offsetof(AEffect, realQualities), 84u);
    EXPECT_EQ(offsetof(AEffect, offQualities), 88u);
    EXPECT_EQ(offsetof(AEffect, ioRatio), 92u);
    EXPECT_EQ(offsetof(AEffect, object), 96u);
    EXPECT_EQ(offsetof(AEffect, user), 104u);
    EXPECT_EQ(offsetof(AEffect, uniqueID), 112u);
    EXPECT_EQ(offsetof(AEffect, version), 116u);
    EXPECT_EQ(offsetof(AEffect, processReplacing), 120u);
    EXPECT_EQ(offsetof(AEffect, future), 128u);
    EXPECT_EQ(sizeof(AEffect), 192u);
    EXPECT_EQ(sizeof(VstKeyCode), 8u);
    EXPECT_EQ(sizeof(ERect), 8u);
}

TEST(FileSelectRecordLayout, MatchesTheLayoutHostsRead) {
    EXPECT_EQ(offsetof(VstFileType, name), 0u);
    EXPECT_EQ(offsetof(VstFileType, macType), 128u);
    EXPECT_EQ(offsetof(VstFileType, dosType), 136u);
    EXPECT_EQ(offsetof(VstFileType, unixType), 144u);
    EXPECT_EQ(offsetof(VstFileType, mimeType1), 152u);
    EXPECT_EQ(offsetof(VstFileType, mimeType2), 280u);
    EXPECT_EQ(sizeof(VstFileType), 408u);

    EXPECT_EQ(offsetof(VstFileSelect, command), 0u);
    EXPECT_EQ(offsetof(VstFileSelect, type), 4u);
    EXPECT_EQ(offsetof(VstFileSelect, macCreator), 8u);
    EXPECT_EQ(offsetof(VstFileSelect, nbFileTypes), 12u);
    EXPECT_EQ(offsetof(VstFileSelect, fileTypes), 16u);
    EXPECT_EQ(offsetof(VstFileSelect, title), 24u);
    EXPECT_EQ(offsetof(VstFileSelect, initialPath), 1048u);
    EXPECT_EQ(offsetof(VstFileSelect, returnPath), 1056u);
    EXPECT_EQ(offsetof(VstFileSelect, sizeReturnPath), 1064u);
    EXPECT_EQ(offsetof(VstFileSelect, returnMultiplePaths), 1072u);
    EXPECT_EQ(offsetof(VstFileSelect, nbReturnPath), 1080u);
    EXPECT_EQ(offsetof(VstFileSelect, reserved), 1088u);
    EXPECT_EQ(offsetof(VstFileSelect, future), 1096u);
    EXPECT_EQ(sizeof(VstFileSelect), 1216u);
}

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
