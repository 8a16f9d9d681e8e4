// EditorInterface: what the effect and its dispatcher ask of an editor. The frame knows editors
// only through this class; the toolkit's editor bridge implements it, and each deliverable's
// entry hands its effect a factory that makes the editor, so an effect builds without the
// toolkit.
//
// Threads: every call comes on the host's GUI thread except setParameter, which runs inside the
// effect's setParameter on whatever thread the host used.
#pragma once

#include "frame/aeffect.h"

#include <cstdint>

class EffectBase;

class EditorInterface {
  public:
    virtual ~EditorInterface() = default;

    // effEditGetRect: stores the address of the editor's size rectangle; 1 when answered.
    virtual int32_t getRect(ERect** rectPointer) = 0;
    // effEditOpen with the host's parent window; the answer goes back to the host.
    virtual int32_t open(void* parentWindow) = 0;
    virtual void close() = 0;
    // effEditIdle.
    virtual void idle() = 0;
    // effEditKeyDown / effEditKeyUp: -1 when nobody handles the key.
    virtual int32_t onKeyDown(VstKeyCode& keyCode) = 0;
    virtual int32_t onKeyUp(VstKeyCode& keyCode) = 0;
    // effSetEditKnobMode.
    virtual int32_t setKnobMode(int32_t mode) = 0;
    // The effect changed a parameter (from the host, a program change or the editor itself).
    virtual void setParameter(int32_t index, float value) = 0;
};

// Makes the editor of `effect` (which then owns it) or answers null when that fails. The entry
// hands one to the effect's constructor; null means the deliverable has no editor.
using EditorFactory = EditorInterface* (*)(EffectBase& effect);
