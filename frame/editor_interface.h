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
    EditorInterface() = default;
    EditorInterface(const EditorInterface&) = delete;
    EditorInterface& operator=(const EditorInterface&) = delete;
    virtual ~EditorInterface() {
        for (LifeWatch* watch = watches; watch; watch = watch->next)
            watch->watched = nullptr;
    }

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

    // For whoever keeps the GUI thread waiting (a modal file dialog): the host's window the
    // editor is open in (null while closed), and the idle pump that keeps the host and the
    // editor going meanwhile.
    virtual void* getSystemWindow() { return nullptr; }
    virtual void doIdleStuff() {}

    // Tells whether an editor still exists. Made on the stack around a call that runs the idle
    // pump, which lets the host close the effect (and with it the editor) meanwhile.
    class LifeWatch {
      public:
        explicit LifeWatch(EditorInterface* editor) : watched(editor) {
            if (!watched) return;
            next = watched->watches;
            watched->watches = this;
        }
        ~LifeWatch() {
            if (!watched) return;
            for (LifeWatch** link = &watched->watches; *link; link = &(*link)->next)
                if (*link == this) {
                    *link = next;
                    break;
                }
        }
        LifeWatch(const LifeWatch&) = delete;
        LifeWatch& operator=(const LifeWatch&) = delete;
        bool gone() const { return watched == nullptr; }

      private:
        friend class EditorInterface;
        EditorInterface* watched;
        LifeWatch* next = nullptr;
    };

  private:
    LifeWatch* watches = nullptr;
};

// Makes the editor of `effect` (which then owns it) or answers null when that fails. The entry
// hands one to the effect's constructor; null means the deliverable has no editor.
using EditorFactory = EditorInterface* (*)(EffectBase& effect);
