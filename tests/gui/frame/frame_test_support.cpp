// Test doubles for the view and frame tests.
#include "tests/gui/frame/frame_test_support.h"

namespace frame_test {

HostLog& hostLog() {
    static HostLog log;
    return log;
}

intptr_t recordingHost(AEffect*, int32_t opcode, int32_t index, intptr_t, void*, float) {
    hostLog().opcodes.push_back(opcode);
    hostLog().indices.push_back(index);
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterIdle && hostLog().onIdle) {
        auto action = hostLog().onIdle;
        action();
    }
    return 1;
}

void ProbeView::draw(DrawContext* context) {
    ++draws;
    context->setFillColour(Colour::fromPixel(colour));
    // fillRect leaves the left column and top row out: start one further out.
    context->fillRect(Rect(size.left - 1, size.top - 1, size.right, size.bottom));
}

void ProbeView::mouse(DrawContext* context, Point& where) {
    clicks.push_back(where);
    if (onMouse) onMouse(context, where);
}

bool ProbeView::onWheel(DrawContext*, const Point& where, float distance) {
    wheelPoints.push_back(where);
    wheelDistance += distance;
    return true;
}

bool ProbeView::onDrop(void**, int32_t, int32_t, Point&) {
    ++drops;
    return acceptDrop;
}

void ProbeView::looseFocus(DrawContext*) {
    ++focusLost;
}

#if TOOLKIT_NEWER
int32_t ProbeView::onKeyDown(VstKeyCode& keyCode) {
    ++keysSeen;
    keysDown.push_back(keyCode);
    return keyAnswer;
}
int32_t ProbeView::onKeyUp(VstKeyCode&) {
    ++keysSeen;
    return keyAnswer;
}
bool ProbeView::removed(View*) {
    ++removeCalls;
    return true;
}
bool ProbeView::attached(View*) {
    ++attachCalls;
    return true;
}
#endif

int32_t TestEditor::open(void* parentWindow) {
    EditorBase::open(parentWindow);
    frame = new EditorFrame(frameSize, parentWindow, this);
    // Without a window there is nothing to show: the host is told so.
    if (!frame->hasWindow()) {
        releaseFrame();
        return 0;
    }
    return 1;
}

} // namespace frame_test
