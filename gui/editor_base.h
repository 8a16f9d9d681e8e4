// EditorBase: the toolkit's editor bridge. The effect's dispatcher routes the host's editor
// requests here through EditorInterface; a deliverable's editor derives from it and adds its
// layout and controls. It owns the EditorFrame while the editor is open and runs the idle pump
// that keeps the host serviced while a control tracks the mouse.
//
// State: the effect (not owned), the host's parent window, the pending-update flag, the
// rectangle answered to the host, the frame (owned while open), the idle pump's tick (older
// variant: last host service; newer: earliest next service) and whether the pump is inside
// the host's idle call. Process-wide: KnobMode.
//
// Threads: everything runs on the host's GUI thread except setParameter, which runs inside the
// effect's setParameter on whatever thread the host used; it only raises updateFlag.
#pragma once

#include "frame/aeffect.h"
#include "frame/editor_interface.h"
#include "gui/knob_mode.h"

#include <cstdint>

class EffectBase;
class EditorFrame;

class EditorBase : public EditorInterface {
  public:
    explicit EditorBase(EffectBase* effect);
    // Releases a frame that is still open (the host closed the effect with the editor open).
    ~EditorBase() override;

    int32_t getRect(ERect** rectPointer) override;
    int32_t open(void* parentWindow) override;
    void close() override {}
    void idle() override;
    virtual void update() {}
    virtual void postUpdate() { updateFlag = 1; }
    // Older variant: -1 (keys reach no view); newer: the frame's key dispatch.
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    int32_t onKeyUp(VstKeyCode& keyCode) override;
    int32_t setKnobMode(int32_t mode) override;
    virtual bool onWheel(float distance);
    void setParameter(int32_t, float) override { postUpdate(); }
    // Redraws the whole frame (the rectangle is ignored).
    virtual void draw(ERect* rect);
    // The idle pump of mouse-tracking loops: keeps the host serviced about every 50 to 100 ms
    // while a control holds the GUI thread.
    void doIdleStuff() override;

    EffectBase* getEffect() { return effect; }
    EditorFrame* getFrame() { return frame; }
    void* getSystemWindow() override { return systemWindow; }
    bool isUpdatePending() const { return updateFlag != 0; }

    // The platform's millisecond clock and a pause (the headless clock under tests).
    static uint32_t getTicks();
    static void wait(uint32_t milliseconds);

  protected:
    // Releases the frame and clears `frame`: the way a derived close() ends the frame. A frame
    // still dispatching a click (the host closed the editor from inside the idle pump) goes
    // when that click's handling returns.
    void releaseFrame();

    EffectBase* effect;
    void* systemWindow = nullptr;
    int32_t updateFlag = 0;
    ERect rect{0, 0, 0, 0};
    EditorFrame* frame = nullptr;
    uint32_t idleTicks = 0;
    bool inIdleStuff = false;
};
