// Plug-in libraries whose entry misbehaves the way broken third-party plug-ins do, for the
// listing's child-process loader: ENTRY_FAULT selects a crash (SIGSEGV), a hang or an exit.
#include "frame/aeffect.h"

#include <csignal>
#include <cstdlib>
#include <unistd.h>

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback) {
#if ENTRY_FAULT == 1
    std::raise(SIGSEGV);
#elif ENTRY_FAULT == 2
    for (;;)
        ::pause();
#else
    std::exit(3);
#endif
    return nullptr;
}
