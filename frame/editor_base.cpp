// EditorBase: attaching to the effect, the host's editor requests and the idle pump.
#include "editor_base.h"

#include "effect_base.h"

#include <ctime>

int32_t KnobMode = 0;

EditorBase::EditorBase(EffectBase* owner) : effect(owner) {
    if (effect) effect->attachEditor(this);
    idleTicks = getTicks();
}

EditorBase::~EditorBase() = default;

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
}

int32_t EditorBase::onKeyDown(VstKeyCode&) {
    return -1;
}
int32_t EditorBase::onKeyUp(VstKeyCode&) {
    return -1;
}

int32_t EditorBase::setKnobMode(int32_t mode) {
    KnobMode = mode;
    return 1;
}

bool EditorBase::onWheel(float) {
    return false;
}
void EditorBase::draw(ERect*) {}

void EditorBase::doIdleStuff() {
    uint32_t now = getTicks();
    idle();
    if (now < idleTicks + 100) {
        wait(4);
        now += 4;
        if (now < idleTicks + 50) return;
    }
    idleTicks = now;
    inIdleStuff = true;
    if (effect) effect->hostIdle();
    inIdleStuff = false;
}

uint32_t EditorBase::getTicks() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

void EditorBase::wait(uint32_t milliseconds) {
    timespec pause{static_cast<time_t>(milliseconds / 1000),
                   static_cast<long>(milliseconds % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
}
