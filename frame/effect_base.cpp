// EffectBase: record construction, the shared parameter and program model, the defaults and the
// host request wrappers.
#include "frame/effect_base.h"

#include "frame/record_entries.h"
#include "frame/value_text.h"

#include <cmath>
#include <cstring>

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

bool EffectBase::createPrograms(const float* defaults, const char* name, const int32_t* slotOf) {
    if (programs.allocate(numPrograms, numParams, defaults, name, slotOf)) return true;
    failed = true;
    return false;
}

void EffectBase::setUpStereo(int32_t uniqueId) {
    setNumInputs(2);
    setNumOutputs(2);
    setHasVu(true);
    setCanMono(true);
    setCanReplacing(true);
    setUniqueId(uniqueId);
}

void EffectBase::createEditor(EditorFactory factory) {
    if (failed || !factory) return;
    if (!factory(*this)) failed = true;
}

// ---- parameters and programs ----

// The one path of every parameter change, from the host, the editor or a program change: the
// value is held to 0..1 (NaN as 0), stored in the current program and applied, and only then
// does the editor hear of it, so a control never shows a value the sound does not have yet.
// An effect whose apply step sets other parameters (through this path) has the editor hear of
// those first.
void EffectBase::setParameter(int32_t index, float value) {
    if (index < 0) return;
    const float v = sanitizeParameterValue(value);
    if (isParameterIndex(index) && programs.isReady()) {
        programs.store(currentProgram, index, v);
        applyParameter(index, v);
    } else if (!editorHearsUnknownIndices) {
        return;
    }
    if (editor) editor->setParameter(index, v);
}

float EffectBase::getParameter(int32_t index) {
    if (!isParameterIndex(index) || !programs.isReady()) return 0.0f;
    return storedValue(index);
}

// Without programs only the number changes; with them the program's values are applied in
// index order.
void EffectBase::setProgram(int32_t program) {
    if (!programs.isReady()) {
        currentProgram = program;
        return;
    }
    if (program < 0 || program >= programs.count()) return;
    currentProgram = program;
    for (int32_t i = 0; i < numParams; ++i)
        setParameter(i, storedValue(i));
}

float EffectBase::getVu() {
    const float level = vuLevel;
    vuLevel = 0.0f;
    return level;
}

intptr_t EffectBase::automateParameter(int32_t index, float value) {
    setParameter(index, value);
    if (!hostCallback) return 0;
    return callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void EffectBase::processReplacing(float**, float**, int32_t) {}

// Without programs the base writes an empty string into the buffer, as for every other text.
void EffectBase::setProgramName(char* name) {
    if (!name) return;
    if (programs.isReady())
        programs.setName(currentProgram, name);
    else
        name[0] = 0;
}
void EffectBase::getProgramName(char* name) {
    if (!name) return;
    if (programs.isReady())
        programs.copyName(currentProgram, name);
    else
        name[0] = 0;
}
// From the effect's tables; an empty string without them or for an index out of range.
void EffectBase::getParamLabel(int32_t index, char* label) {
    if (!label) return;
    const char* source = parameterLabels && isParameterIndex(index) ? parameterLabels[index] : "";
    std::memcpy(label, source, std::strlen(source) + 1);
}
void EffectBase::getParamDisplay(int32_t, char* text) {
    if (text) text[0] = 0;
}
void EffectBase::getParamName(int32_t index, char* text) {
    if (!text) return;
    const char* source = parameterNames && isParameterIndex(index) ? parameterNames[index] : "";
    std::memcpy(text, source, std::strlen(source) + 1);
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
