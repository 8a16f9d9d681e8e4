// A test build of the corallis library with one extra export: it switches the library to a new
// headless platform (no display; scripted pointer and clock) and hands that platform to the
// test, which drives the editor through the library's record as a host would.
#include "gui/platform/headless/headless_platform.h"

extern "C" __attribute__((visibility("default"))) HeadlessPlatform* corallisHeadlessPlatform() {
    static HeadlessPlatform* instance = nullptr;
    platform::setCurrent(nullptr);
    delete instance; // the previous test's; its editors are closed
    instance = new HeadlessPlatform;
    platform::setCurrent(instance);
    return instance;
}
