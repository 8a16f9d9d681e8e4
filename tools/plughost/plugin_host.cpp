// PluginHost: library loading, the host callback and the dispatcher wrappers.
#include "tools/plughost/plugin_host.h"

#include "tools/plughost/shared_library.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace {

using EntryProc = AEffect*(VST_CALL*)(audioMasterCallback);

// Which host owns which record. The callback gets only the record pointer; during the entry
// call the record does not exist yet, so the host being loaded is kept aside.
std::mutex registryLock;
std::unordered_map<AEffect*, PluginHost*> hostsByRecord;
thread_local PluginHost* hostBeingLoaded = nullptr;

} // namespace

std::unique_ptr<PluginHost> PluginHost::load(const std::string& path, std::string& error,
                                             intptr_t hostVersion) {
    std::unique_ptr<PluginHost> host(new PluginHost());
    host->version = hostVersion;
    std::string reason;
    host->library = openLibrary(path, reason);
    if (!host->library) {
        error = "cannot load " + path + ": " + reason;
        return nullptr;
    }
    auto entry = reinterpret_cast<EntryProc>(findSymbol(host->library, "VSTPluginMain"));
    if (!entry) entry = reinterpret_cast<EntryProc>(findSymbol(host->library, "main"));
    if (!entry) {
        error = path + " is not a plug-in: it has no VSTPluginMain or main entry";
        return nullptr;
    }
    hostBeingLoaded = host.get();
    AEffect* record = entry(&PluginHost::callback);
    hostBeingLoaded = nullptr;
    if (!record) {
        error = path + ": the plug-in's entry returned no effect";
        return nullptr;
    }
    if (record->magic != kEffectMagic) {
        error = path + ": the entry returned something that is not an effect record";
        return nullptr;
    }
    host->record = record;
    {
        std::lock_guard<std::mutex> guard(registryLock);
        hostsByRecord[record] = host.get();
    }
    return host;
}

PluginHost::~PluginHost() {
    close();
    // Libraries stay loaded: plug-ins may leave threads or atexit handlers behind.
}

intptr_t VST_CALL PluginHost::callback(AEffect* effect, int32_t opcode, int32_t index,
                                       intptr_t value, void* ptr, float opt) {
    PluginHost* host = nullptr;
    if (effect) {
        std::lock_guard<std::mutex> guard(registryLock);
        auto found = hostsByRecord.find(effect);
        if (found != hostsByRecord.end()) host = found->second;
    }
    if (!host) host = hostBeingLoaded;
    if (!host) return opcode == audioMasterVersion ? 2400 : 0;
    return host->answer(opcode, index, value, ptr, opt);
}

intptr_t PluginHost::answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    (void)value;
    switch (opcode) {
    case audioMasterVersion:
        return version;
    case audioMasterAutomate:
    case audioMasterBeginEdit:
    case audioMasterEndEdit: {
        HostEvent::Kind kind = opcode == audioMasterAutomate    ? HostEvent::Automate
                               : opcode == audioMasterBeginEdit ? HostEvent::BeginEdit
                                                                : HostEvent::EndEdit;
        recorded.push_back({kind, index, opcode == audioMasterAutomate ? opt : 0.0f});
        if (echoEvents) {
            static const char* const names[] = {"automate", "beginEdit", "endEdit"};
            std::printf("%s %d %.6f\n", names[kind], index,
                        static_cast<double>(recorded.back().value));
            std::fflush(stdout);
        }
        return 1;
    }
    case audioMasterIdle:
        ++hostIdleCount;
        return 1;
    case audioMasterGetSampleRate:
        return static_cast<intptr_t>(sampleRate);
    case audioMasterGetBlockSize:
        return blockSize;
    case audioMasterGetCurrentProcessLevel:
        return 1; // the user-interface thread
    case audioMasterGetVendorString:
        if (ptr) std::strcpy(static_cast<char*>(ptr), "Plug-in Family Team");
        return ptr ? 1 : 0;
    case audioMasterGetProductString:
        if (ptr) std::strcpy(static_cast<char*>(ptr), "plughost");
        return ptr ? 1 : 0;
    case audioMasterGetVendorVersion:
        return 1;
    case audioMasterCanDo:
        return 0;
    default:
        return 0;
    }
}

intptr_t PluginHost::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    if (!record) return 0;
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

void PluginHost::setParameter(int32_t index, float value) {
    if (record) record->setParameter(record, index, value);
}

float PluginHost::getParameter(int32_t index) {
    return record ? record->getParameter(record, index) : 0.0f;
}

void PluginHost::process(float** inputs, float** outputs, int32_t frames) {
    if (record) record->process(record, inputs, outputs, frames);
}

void PluginHost::processReplacing(float** inputs, float** outputs, int32_t frames) {
    if (record) record->processReplacing(record, inputs, outputs, frames);
}

std::string PluginHost::readText(int32_t opcode, int32_t index) {
    char buffer[512];
    std::memset(buffer, 0, sizeof buffer);
    dispatch(opcode, index, 0, buffer, 0.0f);
    buffer[sizeof buffer - 1] = 0;
    return buffer;
}

std::string PluginHost::paramName(int32_t index) {
    return readText(effGetParamName, index);
}
std::string PluginHost::paramLabel(int32_t index) {
    return readText(effGetParamLabel, index);
}
std::string PluginHost::paramDisplay(int32_t index) {
    return readText(effGetParamDisplay, index);
}
std::string PluginHost::programName() {
    return readText(effGetProgramName, 0);
}
std::string PluginHost::effectName() {
    return readText(effGetEffectName, 0);
}
std::string PluginHost::vendorString() {
    return readText(effGetVendorString, 0);
}
std::string PluginHost::productString() {
    return readText(effGetProductString, 0);
}

int32_t PluginHost::findParameter(const std::string& name) {
    if (!record) return -1;
    for (int32_t i = 0; i < record->numParams; ++i)
        if (paramName(i) == name) return i;
    return -1;
}

void PluginHost::start(float rate, int32_t frames) {
    sampleRate = rate;
    blockSize = frames;
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    dispatch(effSetBlockSize, 0, frames);
    dispatch(effMainsChanged, 0, 1);
}

intptr_t PluginHost::close() {
    if (!record) return 0;
    AEffect* closing = record;
    intptr_t result = closing->dispatcher(closing, effClose, 0, 0, nullptr, 0.0f);
    record = nullptr;
    std::lock_guard<std::mutex> guard(registryLock);
    hostsByRecord.erase(closing);
    return result;
}
