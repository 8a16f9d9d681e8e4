// PluginHost: loads a plug-in library the way a host does and drives it through its record.
// Used by plughost, the black-box tests and the benchmarks.
#pragma once

#include "frame/aeffect.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One call the plug-in made to the host that a person or a test wants to see.
struct HostEvent {
    enum Kind { Automate, BeginEdit, EndEdit };
    Kind kind;
    int32_t index;
    float value;
};

class PluginHost {
  public:
    // Loads the library, finds VSTPluginMain (or main) and asks it for an effect record.
    // Answers null and fills error with a one-line reason on failure.
    static std::unique_ptr<PluginHost> load(const std::string& path, std::string& error,
                                            intptr_t hostVersion = 2400);
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    AEffect* effect() const { return record; }
    bool isOpen() const { return record != nullptr; }

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);
    void setParameter(int32_t index, float value);
    float getParameter(int32_t index);
    void process(float** inputs, float** outputs, int32_t frames);
    void processReplacing(float** inputs, float** outputs, int32_t frames);

    // Texts through the text opcodes, read into generous buffers.
    std::string paramName(int32_t index);
    std::string paramLabel(int32_t index);
    std::string paramDisplay(int32_t index);
    std::string programName();
    std::string effectName();
    std::string vendorString();
    std::string productString();
    // Index of the parameter with this name, or -1.
    int32_t findParameter(const std::string& name);

    // The usual start-up sequence: open, sample rate, block size, resume.
    void start(float sampleRate, int32_t blockSize);
    // effClose; the record is gone afterwards. Returns the dispatcher's answer.
    intptr_t close();

    // Calls recorded from the plug-in (automate, begin-edit, end-edit), in order.
    const std::vector<HostEvent>& events() const { return recorded; }
    void clearEvents() { recorded.clear(); }
    // Prints each recorded call as it arrives (used by plughost editor).
    void setEchoEvents(bool echo) { echoEvents = echo; }
    int idleRequests() const { return hostIdleCount; }

  private:
    PluginHost() = default;
    static intptr_t VST_CALL callback(AEffect* effect, int32_t opcode, int32_t index,
                                      intptr_t value, void* ptr, float opt);
    intptr_t answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    std::string readText(int32_t opcode, int32_t index);

    void* library = nullptr;
    AEffect* record = nullptr;
    intptr_t version = 2400;
    float sampleRate = 44100.0f;
    int32_t blockSize = 512;
    std::vector<HostEvent> recorded;
    bool echoEvents = false;
    int hostIdleCount = 0;
};
