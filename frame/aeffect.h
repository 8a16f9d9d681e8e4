// The host-visible effect record, the opcodes of the plug-in interface and its small records.
// This header is the wire format shared with every host: the plug-ins and plughost both use it.
#pragma once

#include <cstddef>
#include <cstdint>

struct AEffect;

// The C calling convention of the entry, the record's functions and the host callback. 32-bit
// Windows hosts call them as cdecl whatever their compiler's default; elsewhere there is one.
#if defined(_WIN32) && !defined(_WIN64)
#define VST_CALL __cdecl
#else
#define VST_CALL
#endif

// Host callback and the record's function entries. `value` and results are pointer-sized.
using audioMasterCallback = intptr_t(VST_CALL*)(AEffect* effect, int32_t opcode, int32_t index,
                                                intptr_t value, void* ptr, float opt);
using AEffectDispatcherProc = intptr_t(VST_CALL*)(AEffect* effect, int32_t opcode, int32_t index,
                                                  intptr_t value, void* ptr, float opt);
using AEffectProcessProc = void(VST_CALL*)(AEffect* effect, float** inputs, float** outputs,
                                           int32_t sampleFrames);
using AEffectSetParameterProc = void(VST_CALL*)(AEffect* effect, int32_t index, float value);
using AEffectGetParameterProc = float(VST_CALL*)(AEffect* effect, int32_t index);

// Four characters packed with the first one in the most significant byte.
constexpr int32_t fourCharCode(char a, char b, char c, char d) {
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint8_t>(a)) << 24) |
                                (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 16) |
                                (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 8) |
                                static_cast<uint32_t>(static_cast<uint8_t>(d)));
}

constexpr int32_t kEffectMagic = fourCharCode('V', 's', 't', 'P');
constexpr int32_t kDefaultUniqueId = fourCharCode('N', 'o', 'E', 'f');
constexpr int32_t kIdentifyAnswer = fourCharCode('N', 'v', 'E', 'f');

// The 64-bit layout read by every host on this platform: the 32-bit layout's field order with
// pointers, functions and the two reserved words widened to 64 bits.
struct AEffect {
    int32_t magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process;
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;
    intptr_t resvd1;
    intptr_t resvd2;
    int32_t initialDelay;
    int32_t realQualities;
    int32_t offQualities;
    float ioRatio;
    void* object;
    void* user;
    int32_t uniqueID;
    int32_t version;
    AEffectProcessProc processReplacing;
    char future[60];
};

enum AEffectFlags : int32_t {
    effFlagsHasEditor = 1,
    effFlagsHasClip = 2,
    effFlagsHasVu = 4,
    effFlagsCanMono = 8,
    effFlagsCanReplacing = 16,
    effFlagsProgramChunks = 32,
    effFlagsIsSynth = 256,
    effFlagsNoSoundInStop = 512,
    effFlagsExtIsAsync = 1024,
    effFlagsExtHasBuffer = 2048,
};

// Requests from the host to the effect.
enum AEffectOpcodes : int32_t {
    effOpen = 0,
    effClose,
    effSetProgram,
    effGetProgram,
    effSetProgramName,
    effGetProgramName,
    effGetParamLabel,
    effGetParamDisplay,
    effGetParamName,
    effGetVu,
    effSetSampleRate,
    effSetBlockSize,
    effMainsChanged,
    effEditGetRect,
    effEditOpen,
    effEditClose,
    effEditDraw,
    effEditMouse,
    effEditKey,
    effEditIdle,
    effEditTop,
    effEditSleep,
    effIdentify,
    effGetChunk,
    effSetChunk,
    effProcessEvents,
    effCanBeAutomated,
    effString2Parameter,
    effGetNumProgramCategories,
    effGetProgramNameIndexed,
    effCopyProgram,
    effConnectInput,
    effConnectOutput,
    effGetInputProperties,
    effGetOutputProperties,
    effGetPlugCategory,
    effGetCurrentPosition,
    effGetDestinationBuffer,
    effOfflineNotify,
    effOfflinePrepare,
    effOfflineRun,
    effProcessVarIo,
    effSetSpeakerArrangement,
    effSetBlockSizeAndSampleRate,
    effSetBypass,
    effGetEffectName,
    effGetErrorText,
    effGetVendorString,
    effGetProductString,
    effGetVendorVersion,
    effVendorSpecific,
    effCanDo,
    effGetTailSize,
    effIdle,
    effGetIcon,
    effSetViewPosition,
    effGetParameterProperties,
    effKeysRequired,
    effGetVstVersion,
    effEditKeyDown,
    effEditKeyUp,
    effSetEditKnobMode,
    effGetMidiProgramName,
    effGetCurrentMidiProgram,
    effGetMidiProgramCategory,
    effHasMidiProgramsChanged,
    effGetMidiKeyName,
    effBeginSetProgram,
    effEndSetProgram,
};

// Requests from the effect to the host.
enum AudioMasterOpcodes : int32_t {
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterCurrentId = 2,
    audioMasterIdle = 3,
    audioMasterPinConnected = 4,
    audioMasterWantMidi = 6,
    audioMasterGetTime = 7,
    audioMasterProcessEvents = 8,
    audioMasterTempoAt = 10,
    audioMasterGetNumAutomatableParameters = 11,
    audioMasterGetParameterQuantization = 12,
    audioMasterIOChanged = 13,
    audioMasterNeedIdle = 14,
    audioMasterSizeWindow = 15,
    audioMasterGetSampleRate = 16,
    audioMasterGetBlockSize = 17,
    audioMasterGetInputLatency = 18,
    audioMasterGetOutputLatency = 19,
    audioMasterGetPreviousPlug = 20,
    audioMasterGetNextPlug = 21,
    audioMasterWillReplaceOrAccumulate = 22,
    audioMasterGetCurrentProcessLevel = 23,
    audioMasterGetAutomationState = 24,
    audioMasterOfflineStart = 25,
    audioMasterOfflineRead = 26,
    audioMasterOfflineWrite = 27,
    audioMasterOfflineGetCurrentPass = 28,
    audioMasterOfflineGetCurrentMetaPass = 29,
    audioMasterSetOutputSampleRate = 30,
    audioMasterGetSpeakerArrangement = 31,
    audioMasterGetVendorString = 32,
    audioMasterGetProductString = 33,
    audioMasterGetVendorVersion = 34,
    audioMasterVendorSpecific = 35,
    audioMasterCanDo = 37,
    audioMasterGetLanguage = 38,
    audioMasterOpenWindow = 39,
    audioMasterCloseWindow = 40,
    audioMasterGetDirectory = 41,
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43,
    audioMasterEndEdit = 44,
    audioMasterOpenFileSelector = 45,
    audioMasterCloseFileSelector = 46,
    audioMasterGetChunkFile = 48,
};

// Editor rectangle answered to effEditGetRect.
struct ERect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

// Key record built by the dispatcher for effEditKeyDown and effEditKeyUp.
struct VstKeyCode {
    int32_t character;
    uint8_t virt;
    uint8_t modifier;
};

// A window the plug-in asks the host to open (audioMasterOpenWindow): title, position, size
// and style from the plug-in; the host fills in the handles.
struct VstWindow {
    char title[128];
    int16_t xPos;
    int16_t yPos;
    int16_t width;
    int16_t height;
    int32_t style;
    void* parent;
    void* userHandle;
    void* winHandle;
    char future[104];
};

// One file type offered by a file selector: its display name and its extension on each
// platform (without the dot), zero-terminated.
struct VstFileType {
    char name[128];
    char macType[8];
    char dosType[8];
    char unixType[8];
    char mimeType1[128];
    char mimeType2[128];
};

// What a file selection asks for (VstFileSelect::command).
enum VstFileSelectCommand : int32_t {
    kVstFileLoad = 0,
    kVstFileSave = 1,
    kVstMultipleFilesLoad = 2,
    kVstDirectorySelect = 3,
};

// A file selection shared between the plug-in and the host (audioMasterOpenFileSelector):
// the request (command, types, title, initial path, optionally a return buffer) and the
// result (one path in returnPath, or nbReturnPath paths in returnMultiplePaths). `reserved`
// is 1 when the plug-in allocated returnPath itself. Pointer-sized fields are 64 bits here.
struct VstFileSelect {
    int32_t command;
    int32_t type;
    int32_t macCreator;
    int32_t nbFileTypes;
    VstFileType* fileTypes;
    char title[1024];
    char* initialPath;
    char* returnPath;
    int32_t sizeReturnPath;
    char** returnMultiplePaths;
    int32_t nbReturnPath;
    intptr_t reserved;
    char future[116];
};

// Records the base passes through untouched; their contents belong to the host.
struct VstEvents;
struct VstTimeInfo;
struct VstPinProperties;
struct VstSpeakerArrangement;
struct VstParameterProperties;
struct VstVariableIo;
struct VstOfflineTask;
struct VstAudioFile;
struct VstWindow;
struct MidiProgramName;
struct MidiProgramCategory;
struct MidiKeyName;

// The record is read by hosts at fixed offsets: the 32-bit layout (Windows x86) and the 64-bit
// one (Linux and Windows x64) are checked here, in every build that includes this header.
#if INTPTR_MAX == INT32_MAX
static_assert(offsetof(AEffect, magic) == 0 && offsetof(AEffect, dispatcher) == 4 &&
                  offsetof(AEffect, process) == 8 && offsetof(AEffect, setParameter) == 12 &&
                  offsetof(AEffect, getParameter) == 16 && offsetof(AEffect, numPrograms) == 20 &&
                  offsetof(AEffect, numParams) == 24 && offsetof(AEffect, numInputs) == 28 &&
                  offsetof(AEffect, numOutputs) == 32 && offsetof(AEffect, flags) == 36 &&
                  offsetof(AEffect, resvd1) == 40 && offsetof(AEffect, resvd2) == 44 &&
                  offsetof(AEffect, initialDelay) == 48 && offsetof(AEffect, realQualities) == 52 &&
                  offsetof(AEffect, offQualities) == 56 && offsetof(AEffect, ioRatio) == 60 &&
                  offsetof(AEffect, object) == 64 && offsetof(AEffect, user) == 68 &&
                  offsetof(AEffect, uniqueID) == 72 && offsetof(AEffect, version) == 76 &&
                  offsetof(AEffect, processReplacing) == 80 && offsetof(AEffect, future) == 84 &&
                  sizeof(AEffect) == 144,
              "the 32-bit effect record is 144 bytes in the published field order");
static_assert(offsetof(VstFileSelect, fileTypes) == 16 && offsetof(VstFileSelect, title) == 20 &&
                  offsetof(VstFileSelect, initialPath) == 1044 &&
                  offsetof(VstFileSelect, returnPath) == 1048 &&
                  offsetof(VstFileSelect, sizeReturnPath) == 1052 &&
                  offsetof(VstFileSelect, returnMultiplePaths) == 1056 &&
                  offsetof(VstFileSelect, nbReturnPath) == 1060 &&
                  offsetof(VstFileSelect, reserved) == 1064 &&
                  offsetof(VstFileSelect, future) == 1068 && sizeof(VstFileSelect) == 1184,
              "the 32-bit file selection record");
#elif INTPTR_MAX == INT64_MAX
static_assert(offsetof(AEffect, magic) == 0 && offsetof(AEffect, dispatcher) == 8 &&
                  offsetof(AEffect, process) == 16 && offsetof(AEffect, setParameter) == 24 &&
                  offsetof(AEffect, getParameter) == 32 && offsetof(AEffect, numPrograms) == 40 &&
                  offsetof(AEffect, numParams) == 44 && offsetof(AEffect, numInputs) == 48 &&
                  offsetof(AEffect, numOutputs) == 52 && offsetof(AEffect, flags) == 56 &&
                  offsetof(AEffect, resvd1) == 64 && offsetof(AEffect, resvd2) == 72 &&
                  offsetof(AEffect, initialDelay) == 80 && offsetof(AEffect, realQualities) == 84 &&
                  offsetof(AEffect, offQualities) == 88 && offsetof(AEffect, ioRatio) == 92 &&
                  offsetof(AEffect, object) == 96 && offsetof(AEffect, user) == 104 &&
                  offsetof(AEffect, uniqueID) == 112 && offsetof(AEffect, version) == 116 &&
                  offsetof(AEffect, processReplacing) == 120 && offsetof(AEffect, future) == 128 &&
                  sizeof(AEffect) == 192,
              "the 64-bit effect record is 192 bytes: the published order, pointers widened");
static_assert(offsetof(VstFileSelect, fileTypes) == 16 && offsetof(VstFileSelect, title) == 24 &&
                  offsetof(VstFileSelect, initialPath) == 1048 &&
                  offsetof(VstFileSelect, returnPath) == 1056 &&
                  offsetof(VstFileSelect, sizeReturnPath) == 1064 &&
                  offsetof(VstFileSelect, returnMultiplePaths) == 1072 &&
                  offsetof(VstFileSelect, nbReturnPath) == 1080 &&
                  offsetof(VstFileSelect, reserved) == 1088 &&
                  offsetof(VstFileSelect, future) == 1096 && sizeof(VstFileSelect) == 1216,
              "the 64-bit file selection record");
#else
#error "the effect record is defined for 32-bit and 64-bit pointers"
#endif
static_assert(sizeof(VstKeyCode) == 8 && sizeof(ERect) == 8 && sizeof(VstFileType) == 408,
              "records whose layout does not depend on the pointer width");
