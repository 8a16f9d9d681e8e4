// EditorBase: attaching to the effect, the host's editor requests and the idle pump.
#include "gui/editor_base.h"

#include "frame/effect_base.h"
#include "gui/editor_frame.h"
#include "gui/platform/platform.h"

int32_t KnobMode = 0;

EditorBase::EditorBase(EffectBase* owner) : effect(owner) {
    if (effect) effect->attachEditor(this);
    idleTicks = getTicks();
}

EditorBase::~EditorBase() {
    if (frame) frame->clearEditor();
    releaseFrame();
}

void EditorBase::releaseFrame() {
    EditorFrame* closing = frame;
    frame = nullptr;
    if (closing) closing->forget();
}

int32_t EditorBase::getRect(ERect** rectPointer) {
    if (!rectPointer) return 0;
    *rectPointer = &rect;
    return 1;
}

int32_t EditorBase::open(void* parentWindow) {
    postUpdate();
    systemWindow = parentWindow;
    return 0;
}

void EditorBase::idle() {
    if (inIdleStuff) return;
    if (updateFlag) {
        updateFlag = 0;
        update();
    }
    if (frame) frame->idle();
}

namespace {

// A key request of the host: the newer variant offers it to the open frame; -1 when nobody
// takes it (always in the older variant, whose views take no keys).
int32_t offerKeyToFrame(EditorFrame* frame, VstKeyCode& keyCode, bool down) {
#if TOOLKIT_NEWER
    if (frame) return down ? frame->onKeyDown(keyCode) : frame->onKeyUp(keyCode);
#else
    (void)frame;
    (void)keyCode;
    (void)down;
#endif
    return -1;
}

} // namespace

int32_t EditorBase::onKeyDown(VstKeyCode& keyCode) {
    return offerKeyToFrame(frame, keyCode, true);
}

int32_t EditorBase::onKeyUp(VstKeyCode& keyCode) {
    return offerKeyToFrame(frame, keyCode, false);
}

int32_t EditorBase::setKnobMode(int32_t mode) {
    KnobMode = mode;
    return 1;
}

bool EditorBase::onWheel(float distance) {
    if (!frame) return false;
    return frame->onWheel(nullptr, Point(0, 0), distance);
}

void EditorBase::draw(ERect*) {
    if (frame) frame->drawView(nullptr);
}

#if TOOLKIT_NEWER
void EditorBase::doIdleStuff() {
    uint32_t now = getTicks();
    if (now < idleTicks) {
        wait(4);
        now += 4;
        if (now < idleTicks - 50) return;
    }
    idle();
    if (frame) frame->dispatchPendingPaint();
    idleTicks = now + 100;
    inIdleStuff = true;
    if (effect) effect->hostIdle();
    inIdleStuff = false;
}
#else
void EditorBase::doIdleStuff() {
    uint32_t now = getTicks();
    idle();
    if (now < idleTicks + 100) {
        wait(4);
        now += 4;
        if (now < idleTicks + 50) return;
    }
    if (frame) frame->dispatchPendingPaint();
    idleTicks = now;
    inIdleStuff = true;
    if (effect) effect->hostIdle();
    inIdleStuff = false;
}
#endif

uint32_t EditorBase::getTicks() {
    return platform::current().ticks();
}

void EditorBase::wait(uint32_t milliseconds) {
    platform::current().sleep(milliseconds);
}
