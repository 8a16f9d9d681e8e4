// EffectBase: the class every effect derives from. It owns the host-visible record, keeps the
// audio settings the host sends, answers every request with a harmless default and wraps each
// host callback request in an operation. It also carries what every effect shares: the program
// bank, the one parameter path (value rule, store, apply, tell the editor), the stereo set-up,
// the construction-failure flag and the VU level.
//
// Threads: the dispatcher, parameter and program calls arrive on host threads; process and
// processReplacing on the audio thread. Nothing here locks; the parameters and the current
// program are single 32-bit relaxed atomics (SharedValue, ProgramBank).
#pragma once

#include "frame/aeffect.h"
#include "frame/editor_interface.h"
#include "frame/program_bank.h"
#include "frame/shared_value.h"

#include <cstdint>


// Capability words a host may answer yes to (asked through canHostDo).
extern const char* const kHostCanDoWords[];
extern const int kHostCanDoWordCount;
// Capability words a plug-in may answer (through canDo).
extern const char* const kPluginCanDoWords[];
extern const int kPluginCanDoWordCount;

class EffectBase {
  public:
    EffectBase(audioMasterCallback hostCallback, int32_t numPrograms, int32_t numParams);
    EffectBase(const EffectBase&) = delete;
    EffectBase& operator=(const EffectBase&) = delete;

    // ---- basic group ----
    virtual ~EffectBase();
    virtual void setParameter(int32_t index, float value);
    virtual float getParameter(int32_t index);
    virtual intptr_t automateParameter(int32_t index, float value);
    virtual void process(float** inputs, float** outputs, int32_t sampleFrames) = 0;
    virtual void processReplacing(float** inputs, float** outputs, int32_t sampleFrames);
    virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt);
    virtual void open() {}
    virtual void close() {}
    virtual int32_t getProgram() { return currentProgram; }
    virtual void setProgram(int32_t program);
    virtual void setProgramName(char* name);
    virtual void getProgramName(char* name);
    virtual void getParamLabel(int32_t index, char* label);
    virtual void getParamDisplay(int32_t index, char* text);
    virtual void getParamName(int32_t index, char* text);
    virtual float getVu();
    virtual int32_t getChunk(void** data, bool isPreset);
    virtual int32_t setChunk(void* data, int32_t byteSize, bool isPreset);
    virtual void setSampleRate(float rate) { sampleRate = rate; }
    virtual void setBlockSize(int32_t frames) { blockSize = frames; }
    virtual void suspend() {}
    virtual void resume() {}
    virtual void setUniqueId(int32_t id) { effectRecord.uniqueID = id; }
    virtual void setNumInputs(int32_t count) { effectRecord.numInputs = count; }
    virtual void setNumOutputs(int32_t count) { effectRecord.numOutputs = count; }
    virtual void setHasVu(bool state) { setFlag(effFlagsHasVu, state); }
    virtual void setHasClip(bool state) { setFlag(effFlagsHasClip, state); }
    virtual void setCanMono(bool state) { setFlag(effFlagsCanMono, state); }
    virtual void setCanReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }
    virtual void setProgramsAreChunks(bool state) { setFlag(effFlagsProgramChunks, state); }
    virtual void setRealtimeQualities(int32_t q) { effectRecord.realQualities = q; }
    virtual void setOfflineQualities(int32_t q) { effectRecord.offQualities = q; }
    virtual void setInitialDelay(int32_t delay) { effectRecord.initialDelay = delay; }
    virtual float getSampleRate() { return sampleRate; }
    virtual int32_t getBlockSize() { return blockSize; }
    virtual intptr_t hostVersion();
    virtual intptr_t hostCurrentId();
    virtual intptr_t hostIdle();
    virtual bool isInputConnected(int32_t input);
    virtual bool isOutputConnected(int32_t output);
    virtual void dbToText(float value, char* text);
    virtual void hzToText(float samples, char* text);
    virtual void msToText(float samples, char* text);
    virtual void floatToText(float value, char* text);
    virtual void intToText(int32_t value, char* text);

    // ---- extended group ----
    virtual EditorInterface* getEditor() { return editor; }
    virtual intptr_t wantEvents(int32_t filter = 1);
    virtual VstTimeInfo* getTimeInfo(int32_t filter);
    virtual intptr_t tempoAt(int32_t position);
    virtual intptr_t processEvents(VstEvents*) { return 0; }
    virtual intptr_t hostNumAutomatableParameters();
    virtual intptr_t hostParameterQuantization();
    virtual bool canBeAutomated(int32_t) { return true; }
    virtual bool stringToParameter(int32_t, char*) { return false; }
    virtual float getChannelParameter(int32_t, int32_t) { return 0.0f; }
    virtual int32_t getNumProgramCategories() { return 1; }
    virtual bool getProgramNameIndexed(int32_t, int32_t, char*) { return false; }
    virtual bool copyProgram(int32_t) { return false; }
    virtual bool ioChanged();
    virtual bool needIdle();
    virtual bool sizeWindow(int32_t width, int32_t height);
    virtual float updateSampleRate();
    virtual int32_t updateBlockSize();
    virtual intptr_t hostInputLatency();
    virtual intptr_t hostOutputLatency();
    virtual AEffect* previousPlug(int32_t pin);
    virtual AEffect* nextPlug(int32_t pin);
    virtual void connectInput(int32_t, bool) {}
    virtual void connectOutput(int32_t, bool) {}
    virtual bool getInputProperties(int32_t, VstPinProperties*) { return false; }
    virtual bool getOutputProperties(int32_t, VstPinProperties*) { return false; }
    virtual int32_t getPlugCategory();
    virtual intptr_t hostWillReplaceOrAccumulate();
    virtual intptr_t hostProcessLevel();
    virtual intptr_t hostAutomationState();
    virtual void setWantsAsync(bool state) { setFlag(effFlagsExtIsAsync, state); }
    virtual void setHasExternalBuffer(bool state) { setFlag(effFlagsExtHasBuffer, state); }
    virtual int32_t getCurrentPosition() { return 0; }
    virtual float* getDestinationBuffer() { return nullptr; }
    virtual bool offlineRead(VstOfflineTask* task, int32_t option, bool readSource);
    virtual bool offlineWrite(VstOfflineTask* task, int32_t option);
    virtual bool offlineStart(VstAudioFile* files, int32_t count, int32_t newCount);
    virtual bool offlineCurrentPass();
    virtual bool offlineCurrentMetaPass();
    virtual bool offlineNotify(VstAudioFile*, int32_t, bool) { return false; }
    virtual bool offlinePrepare(VstOfflineTask*, int32_t) { return false; }
    virtual bool offlineRun(VstOfflineTask*, int32_t) { return false; }
    virtual int32_t offlineNumPasses() { return 0; }
    virtual int32_t offlineNumMetaPasses() { return 0; }
    virtual void setOutputSampleRate(float rate);
    virtual bool hostSpeakerArrangement(VstSpeakerArrangement* input,
                                        VstSpeakerArrangement* output);
    virtual bool hostVendorString(char* text);
    virtual bool hostProductString(char* text);
    virtual intptr_t hostVendorVersion();
    virtual intptr_t hostVendorSpecific(int32_t a, intptr_t b, void* ptr, float opt);
    virtual bool canHostDo(char* text);
    virtual void setIsSynth(bool state) { setFlag(effFlagsIsSynth, state); }
    virtual void setNoTail(bool state) { setFlag(effFlagsNoSoundInStop, state); }
    virtual intptr_t hostLanguage();
    virtual void* openHostWindow(VstWindow* window);
    virtual bool closeHostWindow(VstWindow* window);
    virtual void* hostDirectory();
    virtual bool updateHostDisplay();
    virtual bool processVariableIo(VstVariableIo*) { return false; }
    virtual bool setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) {
        return false;
    }
    virtual void setBlockSizeAndSampleRate(int32_t frames, float rate);
    virtual bool setBypass(bool) { return false; }
    virtual bool getEffectName(char*) { return false; }
    virtual bool getErrorText(char*) { return false; }
    virtual bool getVendorString(char*) { return false; }
    virtual bool getProductString(char*) { return false; }
    virtual int32_t getVendorVersion() { return 0; }
    virtual intptr_t vendorSpecific(int32_t, intptr_t, void*, float) { return 0; }
    virtual int32_t canDo(char*) { return 0; }
    virtual void* getIcon() { return nullptr; }
    virtual bool setViewPosition(int32_t, int32_t) { return false; }
    virtual int32_t getTailSize() { return 0; }
    virtual int32_t idle() { return 0; }
    virtual bool getParameterProperties(int32_t, VstParameterProperties*) { return false; }
    virtual bool keysRequired() { return false; }
    virtual int32_t getVstVersion() { return 2200; }
    virtual int32_t getMidiProgramName(int32_t, MidiProgramName*) { return 0; }
    virtual int32_t getCurrentMidiProgram(int32_t, MidiProgramName*) { return -1; }
    virtual int32_t getMidiProgramCategory(int32_t, MidiProgramCategory*) { return 0; }
    virtual bool hasMidiProgramsChanged(int32_t) { return false; }
    virtual bool getMidiKeyName(int32_t, MidiKeyName*) { return false; }
    virtual bool beginSetProgram() { return false; }
    virtual bool endSetProgram() { return false; }
    virtual bool beginEdit(int32_t index);
    virtual bool endEdit(int32_t index);
    virtual bool openFileSelector(VstFileSelect* selector);

    // Plain host requests.
    bool sendEventsToHost(VstEvents* events);
    bool closeFileSelector(VstFileSelect* selector);
    bool getChunkFile(void* path);

    AEffect* getAeffect() { return &effectRecord; }
    // The effect behind a record handed out by this frame.
    static EffectBase* fromRecord(AEffect* record) {
        return record ? static_cast<EffectBase*>(record->object) : nullptr;
    }
    // The editor attaches itself through this (and raises effFlagsHasEditor).
    void attachEditor(EditorInterface* newEditor);
    // An editor tells its effect of every change of one of its controls (tag and new value)
    // after acting on it. Nothing by default: an effect that wants to hear of them overrides it.
    virtual void controlChanged(int32_t, float) {}

    // Set by a constructor that could not get its memory; the entry then refuses the effect.
    bool failed = false;

  protected:
    float sampleRate = 44100.0f;
    EditorInterface* editor = nullptr;
    audioMasterCallback hostCallback;
    int32_t numPrograms;
    int32_t numParams;
    // Set by program changes on one host thread, read by the others and by the audio code.
    SharedValue<int32_t> currentProgram = 0;
    int32_t blockSize = 1024;
    AEffect effectRecord;
    // The programs; an effect that builds none keeps the base's answers for them.
    ProgramBank programs;
    // Returned and cleared by getVu; no processing raises it.
    float vuLevel = 0.0f;
    // Names and unit labels of the parameters (numParams entries each), for an effect that
    // gives them; getParamName and getParamLabel copy them out.
    const char* const* parameterNames = nullptr;
    const char* const* parameterLabels = nullptr;
    // The editor also hears indices at or above numParams (which change nothing else).
    bool editorHearsUnknownIndices = false;

    // True for an index the host may address: 0 to numParams - 1.
    bool isParameterIndex(int32_t index) const { return index >= 0 && index < numParams; }
    // Builds numPrograms programs of numParams values with these defaults (parameter order)
    // and this name; sets `failed` and answers false when memory runs out.
    bool createPrograms(const float* defaults, const char* name, const int32_t* slotOf = nullptr);
    // Two inputs, two outputs, VU, mono and replacing support, and the unique ID.
    void setUpStereo(int32_t uniqueId);
    // The last construction step: the factory's editor attaches itself. Nothing is created for
    // an effect that has already failed; a factory that gives no editor fails the effect.
    void createEditor(EditorFactory factory);
    // The current program's stored value of a valid index.
    float storedValue(int32_t index) const { return programs.load(currentProgram, index); }
    // Recomputes what the audio code derives from one parameter. setParameter calls it with a
    // valid index and a value already held to 0..1, after storing the value and before telling
    // the editor.
    virtual void applyParameter(int32_t, float) {}
    intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

  private:
    void setFlag(int32_t bit, bool state);
    intptr_t dispatchExtended(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
};
