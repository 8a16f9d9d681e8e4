// EditorBase: the editor side of the frame. The effect's dispatcher routes the host's editor
// requests here; a deliverable's editor derives from it and adds its layout and controls.
//
// Threads: everything runs on the host's GUI thread except setParameter, which runs inside the
// effect's setParameter on whatever thread the host used; it only raises updateFlag.
#pragma once

#include "aeffect.h"

#include <cstdint>

class EffectBase;
class EditorFrame;

// Knob interaction mode set by the host for every editor of this library (2 = linear).
extern int32_t KnobMode;

class EditorBase {
  public:
    explicit EditorBase(EffectBase* effect);
    EditorBase(const EditorBase&) = delete;
    EditorBase& operator=(const EditorBase&) = delete;
    virtual ~EditorBase();

    virtual int32_t getRect(ERect** rectPointer);
    virtual int32_t open(void* parentWindow);
    virtual void close() {}
    virtual void idle();
    virtual void update() {}
    virtual void postUpdate() { updateFlag = 1; }
    virtual int32_t onKeyDown(VstKeyCode& keyCode);
    virtual int32_t onKeyUp(VstKeyCode& keyCode);
    virtual int32_t setKnobMode(int32_t mode);
    virtual bool onWheel(float distance);
    virtual void setParameter(int32_t, float) { postUpdate(); }
    virtual void draw(ERect* rect);
    virtual void doIdleStuff();

    EffectBase* getEffect() { return effect; }
    EditorFrame* getFrame() { return frame; }
    void* getSystemWindow() { return systemWindow; }

    static uint32_t getTicks();
    static void wait(uint32_t milliseconds);

  protected:
    EffectBase* effect;
    void* systemWindow = nullptr;
    int32_t updateFlag = 0;
    ERect rect{0, 0, 0, 0};
    EditorFrame* frame = nullptr;
    uint32_t idleTicks = 0;
    bool inIdleStuff = false;
};
