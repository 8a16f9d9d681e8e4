// EffectBase: record construction, the dispatcher, the defaults and the host request wrappers.
#include "frame/effect_base.h"

#include "frame/record_entries.h"
#include "frame/value_text.h"

#include <cmath>
#include <cstring>
#include <limits>

const char* const kHostCanDoWords[] = {
    "sendVstEvents",
    "sendVstMidiEvent",
    "sendVstTimeInfo",
    "receiveVstEvents",
    "receiveVstMidiEvent",
    "receiveVstTimeInfo",
    "reportConnectionChanges",
    "acceptIOChanges",
    "sizeWindow",
    "asyncProcessing",
    "offline",
    "supplyIdle",
    "supportShell",
    "openFileSelector",
    "closeFileSelector",
};
const int kHostCanDoWordCount = sizeof(kHostCanDoWords) / sizeof(kHostCanDoWords[0]);

const char* const kPluginCanDoWords[] = {
    "sendVstEvents",
    "sendVstMidiEvent",
    "sendVstTimeInfo",
    "receiveVstEvents",
    "receiveVstMidiEvent",
    "receiveVstTimeInfo",
    "offline",
    "plugAsChannelInsert",
    "plugAsSend",
    "mixDryWet",
    "noRealTime",
    "multipass",
    "metapass",
    "1in1out",
    "1in2out",
    "2in1out",
    "2in2out",
    "2in4out",
    "4in2out",
    "4in4out",
    "4in8out",
    "8in4out",
    "8in8out",
    "midiProgramNames",
    "conformsToWindowRules",
};
const int kPluginCanDoWordCount = sizeof(kPluginCanDoWords) / sizeof(kPluginCanDoWords[0]);

EffectBase::EffectBase(audioMasterCallback callback, int32_t programs, int32_t params)
    : hostCallback(callback), numPrograms(programs), numParams(params) {
    std::memset(&effectRecord, 0, sizeof(effectRecord));
    effectRecord.magic = kEffectMagic;
    effectRecord.dispatcher = recordDispatcher;
    effectRecord.process = recordProcess;
    effectRecord.setParameter = recordSetParameter;
    effectRecord.getParameter = recordGetParameter;
    effectRecord.numPrograms = programs;
    effectRecord.numParams = params;
    effectRecord.numInputs = 1;
    effectRecord.numOutputs = 2;
    effectRecord.ioRatio = 1.0f;
    effectRecord.object = this;
    effectRecord.uniqueID = kDefaultUniqueId;
    effectRecord.version = 1;
    effectRecord.processReplacing = recordProcessReplacing;
}

EffectBase::~EffectBase() {
    delete editor;
    editor = nullptr;
}

void EffectBase::attachEditor(EditorInterface* newEditor) {
    editor = newEditor;
    if (editor) effectRecord.flags |= effFlagsHasEditor;
}

void EffectBase::setFlag(int32_t bit, bool state) {
    if (state)
        effectRecord.flags |= bit;
    else
        effectRecord.flags &= ~bit;
}

intptr_t EffectBase::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    return hostCallback ? hostCallback(&effectRecord, opcode, index, value, ptr, opt) : 0;
}

// ---- defaults of the basic group ----

void EffectBase::setParameter(int32_t, float) {}
float EffectBase::getParameter(int32_t) {
    return 0.0f;
}

intptr_t EffectBase::automateParameter(int32_t index, float value) {
    setParameter(index, value);
    if (!hostCallback) return 0;
    return callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void EffectBase::processReplacing(float**, float**, int32_t) {}

void EffectBase::setProgramName(char* name) {
    if (name) name[0] = 0;
}
void EffectBase::getProgramName(char* name) {
    if (name) name[0] = 0;
}
void EffectBase::getParamLabel(int32_t, char* label) {
    if (label) label[0] = 0;
}
void EffectBase::getParamDisplay(int32_t, char* text) {
    if (text) text[0] = 0;
}
void EffectBase::getParamName(int32_t, char* text) {
    if (text) text[0] = 0;
}

int32_t EffectBase::getChunk(void**, bool) {
    return 0;
}
int32_t EffectBase::setChunk(void*, int32_t, bool) {
    return 0;
}

void EffectBase::setBlockSizeAndSampleRate(int32_t frames, float rate) {
    // Through the virtual setters, so that an effect recomputes its rate-dependent state.
    setBlockSize(frames);
    setSampleRate(rate);
}

int32_t EffectBase::getPlugCategory() {
    return (effectRecord.flags & effFlagsIsSynth) ? 2 : 0;
}

// ---- value-to-text ----

void EffectBase::dbToText(float value, char* text) {
    if (value <= 0.0f) {
        std::memcpy(text, kMinusInfinityText, 9);
        return;
    }
    floatToText(static_cast<float>(20.0 * std::log10(static_cast<double>(value))), text);
}

void EffectBase::hzToText(float samples, char* text) {
    if (samples == 0.0f) {
        floatToText(0.0f, text);
        return;
    }
    floatToText(static_cast<float>(static_cast<double>(getSampleRate()) / samples), text);
}

void EffectBase::msToText(float samples, char* text) {
    floatToText(static_cast<float>(static_cast<double>(samples) * 1000.0 / getSampleRate()), text);
}

void EffectBase::floatToText(float value, char* text) {
    formatFixed8(value, text);
}
void EffectBase::intToText(int32_t value, char* text) {
    formatInt8(value, text);
}

// ---- host request wrappers ----

intptr_t EffectBase::hostVersion() {
    if (!hostCallback) return 1;
    intptr_t version = callHost(audioMasterVersion);
    return version ? version : 1;
}
intptr_t EffectBase::hostCurrentId() {
    return callHost(audioMasterCurrentId);
}
intptr_t EffectBase::hostIdle() {
    return callHost(audioMasterIdle);
}
bool EffectBase::isInputConnected(int32_t input) {
    if (!hostCallback) return true;
    return callHost(audioMasterPinConnected, input, 0) == 0;
}
bool EffectBase::isOutputConnected(int32_t output) {
    if (!hostCallback) return true;
    return callHost(audioMasterPinConnected, output, 1) == 0;
}
intptr_t EffectBase::wantEvents(int32_t filter) {
    return callHost(audioMasterWantMidi, 0, filter);
}
VstTimeInfo* EffectBase::getTimeInfo(int32_t filter) {
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}
intptr_t EffectBase::tempoAt(int32_t position) {
    return callHost(audioMasterTempoAt, 0, position);
}
bool EffectBase::sendEventsToHost(VstEvents* events) {
    return callHost(audioMasterProcessEvents, 0, 0, events) == 1;
}
intptr_t EffectBase::hostNumAutomatableParameters() {
    return callHost(audioMasterGetNumAutomatableParameters);
}
intptr_t EffectBase::hostParameterQuantization() {
    return callHost(audioMasterGetParameterQuantization);
}
bool EffectBase::ioChanged() {
    return callHost(audioMasterIOChanged) != 0;
}
bool EffectBase::needIdle() {
    return callHost(audioMasterNeedIdle) != 0;
}
bool EffectBase::sizeWindow(int32_t width, int32_t height) {
    return callHost(audioMasterSizeWindow, width, height) != 0;
}
float EffectBase::updateSampleRate() {
    callHost(audioMasterGetSampleRate);
    return sampleRate;
}
int32_t EffectBase::updateBlockSize() {
    callHost(audioMasterGetBlockSize);
    return blockSize;
}
intptr_t EffectBase::hostInputLatency() {
    return callHost(audioMasterGetInputLatency);
}
intptr_t EffectBase::hostOutputLatency() {
    return callHost(audioMasterGetOutputLatency);
}
AEffect* EffectBase::previousPlug(int32_t) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug));
}
AEffect* EffectBase::nextPlug(int32_t) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug));
}
intptr_t EffectBase::hostWillReplaceOrAccumulate() {
    return callHost(audioMasterWillReplaceOrAccumulate);
}
intptr_t EffectBase::hostProcessLevel() {
    return callHost(audioMasterGetCurrentProcessLevel);
}
intptr_t EffectBase::hostAutomationState() {
    return callHost(audioMasterGetAutomationState);
}
bool EffectBase::offlineStart(VstAudioFile* files, int32_t count, int32_t newCount) {
    return callHost(audioMasterOfflineStart, newCount, count, files) != 0;
}
bool EffectBase::offlineRead(VstOfflineTask* task, int32_t option, bool readSource) {
    return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, task) != 0;
}
bool EffectBase::offlineWrite(VstOfflineTask* task, int32_t option) {
    return callHost(audioMasterOfflineWrite, 0, option, task) != 0;
}
bool EffectBase::offlineCurrentPass() {
    return callHost(audioMasterOfflineGetCurrentPass) != 0;
}
bool EffectBase::offlineCurrentMetaPass() {
    return callHost(audioMasterOfflineGetCurrentMetaPass) != 0;
}
void EffectBase::setOutputSampleRate(float rate) {
    callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, rate);
}
bool EffectBase::hostSpeakerArrangement(VstSpeakerArrangement* input,
                                        VstSpeakerArrangement* output) {
    return callHost(audioMasterGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(input),
                    output) != 0;
}
bool EffectBase::hostVendorString(char* text) {
    return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}
bool EffectBase::hostProductString(char* text) {
    return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}
intptr_t EffectBase::hostVendorVersion() {
    return callHost(audioMasterGetVendorVersion);
}
intptr_t EffectBase::hostVendorSpecific(int32_t a, intptr_t b, void* ptr, float opt) {
    return callHost(audioMasterVendorSpecific, a, b, ptr, opt);
}
bool EffectBase::canHostDo(char* text) {
    return callHost(audioMasterCanDo, 0, 0, text) != 0;
}
intptr_t EffectBase::hostLanguage() {
    return callHost(audioMasterGetLanguage);
}
void* EffectBase::openHostWindow(VstWindow* window) {
    return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}
bool EffectBase::closeHostWindow(VstWindow* window) {
    return callHost(audioMasterCloseWindow, 0, 0, window) != 0;
}
void* EffectBase::hostDirectory() {
    return reinterpret_cast<void*>(callHost(audioMasterGetDirectory));
}
bool EffectBase::updateHostDisplay() {
    return callHost(audioMasterUpdateDisplay) != 0;
}
bool EffectBase::beginEdit(int32_t index) {
    return callHost(audioMasterBeginEdit, index) != 0;
}
bool EffectBase::endEdit(int32_t index) {
    return callHost(audioMasterEndEdit, index) != 0;
}
bool EffectBase::openFileSelector(VstFileSelect* selector) {
    return selector && callHost(audioMasterOpenFileSelector, 0, 0, selector) != 0;
}
bool EffectBase::closeFileSelector(VstFileSelect* selector) {
    return selector && callHost(audioMasterCloseFileSelector, 0, 0, selector) != 0;
}
bool EffectBase::getChunkFile(void* path) {
    return path && callHost(audioMasterGetChunkFile, 0, 0, path) != 0;
}

// ---- dispatcher ----

namespace {

// Requests that read or write a text through ptr: a null ptr is answered 0 without a call.
bool needsTextBuffer(int32_t opcode) {
    switch (opcode) {
    case effSetProgramName:
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effString2Parameter:
    case effGetProgramNameIndexed:
    case effGetEffectName:
    case effGetErrorText:
    case effGetVendorString:
    case effGetProductString:
    case effCanDo:
        return true;
    default:
        return false;
    }
}

// VU scaled to the 0..32767 range the host expects; a non-finite level reads as 0.
intptr_t scaledVu(float vu) {
    double scaled = static_cast<double>(vu) * 32767.0;
    if (!std::isfinite(scaled)) return 0;
    constexpr double kLimit = static_cast<double>(std::numeric_limits<int32_t>::max());
    if (scaled > kLimit) scaled = kLimit;
    if (scaled < -kLimit) scaled = -kLimit;
    return static_cast<intptr_t>(static_cast<int32_t>(scaled));
}

// Modifier byte from the request's float: truncated, non-finite or huge values give 0.
uint8_t modifierByte(float opt) {
    if (!std::isfinite(opt) || std::fabs(opt) >= 2147483648.0f) return 0;
    return static_cast<uint8_t>(static_cast<int32_t>(opt) & 0xff);
}

} // namespace

intptr_t EffectBase::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt) {
    if (opcode >= effProcessEvents && opcode <= effEndSetProgram)
        return dispatchExtended(opcode, index, value, ptr, opt);
    if (needsTextBuffer(opcode) && !ptr) return 0;

    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        if (value >= 0 && value < numPrograms) setProgram(static_cast<int32_t>(value));
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        setProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetProgramName:
        getProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetParamLabel:
        getParamLabel(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamDisplay:
        getParamDisplay(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamName:
        getParamName(index, static_cast<char*>(ptr));
        return 0;
    case effGetVu:
        return scaledVu(getVu());
    case effSetSampleRate:
        if (isUsableSampleRate(opt)) setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<int32_t>(value));
        return 0;
    case effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        return 0;
    case effEditGetRect:
        if (!editor || !ptr) return 0;
        return editor->getRect(static_cast<ERect**>(ptr));
    case effEditOpen:
        return editor ? editor->open(ptr) : 0;
    case effEditClose:
        if (editor) editor->close();
        return 0;
    case effEditIdle:
        if (editor) editor->idle();
        return 0;
    case effIdentify:
        return kIdentifyAnswer;
    case effGetChunk:
        if (!ptr) return 0;
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        return setChunk(ptr, static_cast<int32_t>(value), index != 0);
    default: // effEditDraw, effEditMouse, effEditKey, effEditTop, effEditSleep and the rest
        return 0;
    }
}

intptr_t EffectBase::dispatchExtended(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                      float opt) {
    if (needsTextBuffer(opcode) && !ptr) return 0;
    switch (opcode) {
    case effProcessEvents:
        return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated:
        return canBeAutomated(index) ? 1 : 0;
    case effString2Parameter:
        return stringToParameter(index, static_cast<char*>(ptr)) ? 1 : 0;
    case effGetNumProgramCategories:
        return getNumProgramCategories();
    case effGetProgramNameIndexed:
        return getProgramNameIndexed(static_cast<int32_t>(value), index, static_cast<char*>(ptr))
                   ? 1
                   : 0;
    case effCopyProgram:
        return copyProgram(index) ? 1 : 0;
    case effConnectInput:
        connectInput(index, value != 0);
        return 1;
    case effConnectOutput:
        connectOutput(index, value != 0);
        return 1;
    case effGetInputProperties:
        return getInputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effGetOutputProperties:
        return getOutputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effGetPlugCategory:
        return getPlugCategory();
    case effGetCurrentPosition:
        return getCurrentPosition();
    case effGetDestinationBuffer:
        return reinterpret_cast<intptr_t>(getDestinationBuffer());
    case effOfflineNotify:
        return offlineNotify(static_cast<VstAudioFile*>(ptr), static_cast<int32_t>(value),
                             index != 0)
                   ? 1
                   : 0;
    case effOfflinePrepare:
        return offlinePrepare(static_cast<VstOfflineTask*>(ptr), static_cast<int32_t>(value)) ? 1
                                                                                              : 0;
    case effOfflineRun:
        return offlineRun(static_cast<VstOfflineTask*>(ptr), static_cast<int32_t>(value)) ? 1 : 0;
    case effProcessVarIo:
        return processVariableIo(static_cast<VstVariableIo*>(ptr)) ? 1 : 0;
    case effSetSpeakerArrangement:
        return setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                     static_cast<VstSpeakerArrangement*>(ptr))
                   ? 1
                   : 0;
    case effSetBlockSizeAndSampleRate:
        if (isUsableSampleRate(opt))
            setBlockSizeAndSampleRate(static_cast<int32_t>(value), opt);
        else
            setBlockSize(static_cast<int32_t>(value));
        return 1;
    case effSetBypass:
        return setBypass(value != 0) ? 1 : 0;
    case effGetEffectName:
        return getEffectName(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetErrorText:
        return getErrorText(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorString:
        return getVendorString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetProductString:
        return getProductString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorVersion:
        return getVendorVersion();
    case effVendorSpecific:
        return vendorSpecific(index, value, ptr, opt);
    case effCanDo:
        return canDo(static_cast<char*>(ptr));
    case effGetTailSize:
        return getTailSize();
    case effIdle:
        return idle();
    case effGetIcon:
        return reinterpret_cast<intptr_t>(getIcon());
    case effSetViewPosition:
        return setViewPosition(index, static_cast<int32_t>(value)) ? 1 : 0;
    case effGetParameterProperties:
        return getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)) ? 1 : 0;
    case effKeysRequired:
        return keysRequired() ? 0 : 1;
    case effGetVstVersion:
        return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp: {
        if (!editor) return 0;
        VstKeyCode key{index, static_cast<uint8_t>(value & 0xff), modifierByte(opt)};
        return opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key);
    }
    case effSetEditKnobMode:
        return editor ? editor->setKnobMode(static_cast<int32_t>(value)) : 0;
    case effGetMidiProgramName:
        return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
    case effGetCurrentMidiProgram:
        return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    case effGetMidiProgramCategory:
        return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
    case effHasMidiProgramsChanged:
        return hasMidiProgramsChanged(index) ? 1 : 0;
    case effGetMidiKeyName:
        return getMidiKeyName(index, static_cast<MidiKeyName*>(ptr)) ? 1 : 0;
    case effBeginSetProgram:
        return beginSetProgram() ? 1 : 0;
    case effEndSetProgram:
        return endSetProgram() ? 1 : 0;
    default:
        return 0;
    }
}
