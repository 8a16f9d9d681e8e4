// Linked into a test build of a plug-in library as its one extra export: it switches the
// library to a new headless platform (no display; scripted pointer and clock) and hands that
// platform to the test, which drives the editor through the library's record as a host would.
#include "gui/platform/headless/headless_platform.h"

#ifdef _WIN32
#define TEST_HOOK_EXPORT __declspec(dllexport)
#else
#define TEST_HOOK_EXPORT __attribute__((visibility("default")))
#endif

extern "C" TEST_HOOK_EXPORT HeadlessPlatform* testHeadlessPlatform() {
    static HeadlessPlatform* instance = nullptr;
    platform::setCurrent(nullptr);
    delete instance; // the previous test's; its editors are closed
    instance = new HeadlessPlatform;
    platform::setCurrent(instance);
    return instance;
}
