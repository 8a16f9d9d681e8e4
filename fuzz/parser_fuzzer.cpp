// The toolkit's readers of data from other processes, each given the fuzzer's bytes: URI lists
// and single URIs (drops, dialog answers), the portal's URIs, a dialog program's printed answer
// with the check every answer passes, and the file-selection record a host fills in answer to
// the selector. The first byte picks the reader. The paths named exist or not; the checks only
// look at the file system, they never change it.
#include "frame/effect_base.h"
#include "fuzz/fuzz_input.h"
#include "gui/file_selector.h"
#include "gui/platform/common/file_uri.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/posix/path_check.h"
#include "gui/platform/posix/portal_client.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A host whose file selector answers with a record made from the fuzzer's bytes: a return
// code, a count (any value, negative included) and the paths, in the single-path buffer or in
// an array of its own (never shorter than the count it reports, as the record's layout asks).
struct SelectorHost {
    FuzzInput* input = nullptr;
    std::vector<std::string> texts;
    std::vector<char*> array;
    std::vector<char> single;
};
SelectorHost selectorHost;

intptr_t VST_CALL selectorHostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void* ptr,
                                       float) {
    FuzzInput& input = *selectorHost.input;
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterCanDo:
        return 1; // both selector words: the system dialogs are never started here
    case audioMasterOpenFileSelector: {
        auto* request = static_cast<VstFileSelect*>(ptr);
        const uint32_t count = input.below(9);
        selectorHost.texts.clear();
        selectorHost.array.clear();
        for (uint32_t i = 0; i < count; ++i)
            selectorHost.texts.push_back(input.text(300));
        for (std::string& text : selectorHost.texts)
            selectorHost.array.push_back(input.byte() % 8 ? text.data() : nullptr);
        if (input.flag()) {
            request->returnMultiplePaths = selectorHost.array.data();
            request->nbReturnPath = input.flag() ? static_cast<int32_t>(count) : input.integer();
            if (request->nbReturnPath > static_cast<int32_t>(count))
                request->nbReturnPath = static_cast<int32_t>(count);
        } else {
            const std::string path = input.text(2100);
            if (request->returnPath && request->sizeReturnPath > 0) {
                const size_t room = static_cast<size_t>(request->sizeReturnPath);
                std::strncpy(request->returnPath, path.c_str(), room - 1);
                request->returnPath[room - 1] = 0;
            } else {
                selectorHost.single.assign(path.begin(), path.end());
                selectorHost.single.push_back(0);
                request->returnPath = selectorHost.single.data();
            }
            request->nbReturnPath = input.flag() ? 1 : input.integer();
        }
        return input.byte() % 4 != 0;
    }
    default:
        return 0;
    }
}

// The smallest effect there is: the selector needs one to reach its host.
class SelectorEffect : public EffectBase {
  public:
    SelectorEffect() : EffectBase(selectorHostCallback, 1, 1) {}
    void process(float**, float**, int32_t) override {}
};

void selectThroughHost(FuzzInput& input) {
    selectorHost.input = &input;
    SelectorEffect effect;
    VstFileSelect request{};
    request.command = static_cast<int32_t>(input.byte() % 5);
    char buffer[1024] = {};
    if (input.flag()) {
        request.returnPath = buffer;
        request.sizeReturnPath = static_cast<int32_t>(input.below(sizeof buffer + 1));
    }
    FileSelector selector(&effect);
    const int32_t count = selector.run(&request);
    // What an editor does with the answer: reads every path the count promises.
    size_t total = 0;
    if (count > 0 && request.returnMultiplePaths)
        for (int32_t i = 0; i < count; ++i)
            if (request.returnMultiplePaths[i])
                total += std::strlen(request.returnMultiplePaths[i]);
    if (count > 0 && request.returnPath) total += std::strlen(request.returnPath);
    (void)total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static HeadlessPlatform platform;
    static HeadlessPlatform::Scope scope(platform);
    if (size == 0) return 0;
    FuzzInput input(data + 1, size - 1);
    const char* text = reinterpret_cast<const char*>(data + 1);
    switch (data[0] % 6) {
    case 0:
        file_uri::filePaths(text, size - 1);
        break;
    case 1: {
        std::string path;
        file_uri::filePathFromUri(text, size - 1, path);
        break;
    }
    case 2:
        file_uri::droppedFiles(text, size - 1, platform);
        break;
    case 3: {
        std::string path;
        desktop_dialogs::fileUriToPath(std::string(text, size - 1), path);
        break;
    }
    case 4: {
        const auto mode = static_cast<platform::DialogMode>(input.byte() % 4);
        const auto lines = desktop_dialogs::splitLines(input.text(size));
        desktop_dialogs::acceptDialogPaths(mode, lines);
        break;
    }
    default:
        selectThroughHost(input);
        break;
    }
    return 0;
}
