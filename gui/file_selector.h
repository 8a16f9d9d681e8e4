// FileSelector: runs a load, save, multiple-load or directory selection for an editor. The
// host's own selector is used when the host answers yes to both "openFileSelector" and
// "closeFileSelector"; otherwise the system's dialog (through the platform). Meant to
// live on the stack of an editor operation: run, read the request, destroy.
//
// State: the effect (not owned, may be null), the request of the last run (not owned) and who
// answered it (the host, or this selector with its own allocations in the request).
// Process-wide: whether a system dialog is open (a second run meanwhile does nothing).
//
// Threads: the host's GUI thread only. While a system dialog is open, run keeps calling the
// editor's idle pump, so the host and the editor's views keep going; a host that closes the
// effect meanwhile ends the dialog.
#pragma once

#include "frame/aeffect.h"

#include <cstdint>

class EffectBase;

class FileSelector {
  public:
    explicit FileSelector(EffectBase* effect);
    FileSelector(const FileSelector&) = delete;
    FileSelector& operator=(const FileSelector&) = delete;
    // Releases what the last run left in its request (through the host when the host made it).
    ~FileSelector();

    // Runs the selection; the number of paths returned, 0 when cancelled or failed. One path
    // goes into returnPath (allocated when the request brings no buffer; a buffer too small
    // for the path is left empty), a multiple selection into returnMultiplePaths. The request
    // must outlive the selector or its next run, which release what this run put there.
    int32_t run(VstFileSelect* request);
    // True after a run during which the effect was closed (with its editor): the run answered
    // 0 and touched neither again; the caller must not touch them either, and further runs
    // answer 0.
    bool ownerClosed() const { return abandoned; }

  private:
    void releaseLastRequest();
    int32_t runSystemDialog(VstFileSelect* request);
    void idleEditor();

    EffectBase* effect;
    VstFileSelect* lastRequest = nullptr;
    bool hostAnswered = false;
    // What this selector allocated into lastRequest. Only these are ever freed: the request's
    // own fields (reserved included) may have been changed by anyone since.
    char* ownedReturnPath = nullptr;
    char** ownedPaths = nullptr;
    int32_t ownedPathCount = 0;
    bool abandoned = false;
};
