// X11DropReceiver: the receiving side of the XDND protocol (version 5) on one frame window.
// It advertises the window as a drop target (XdndAware), answers each XdndPosition with an
// XdndStatus carrying the listener's action (copy, move or refused), and on XdndDrop asks
// the source for the data through the XdndSelection selection: "text/uri-list" first, then
// text (UTF8_STRING, "text/plain;charset=utf-8", "text/plain"), the next one only when the
// listener found nothing to take in the one before. XdndFinished tells the source the end.
//
// Faults are harmless: messages of a source other than the current drag's are ignored; a
// source that is destroyed mid-drag ends the drag; a selection request never answered times
// out; data larger than kMaxDropBytes, of the wrong format or sent incrementally is not taken.
//
// State: the connection's display and the window (not owned), the protocol's atoms, and the
// current drag: its source, version, formats offered, the last position and action answered,
// the formats still to fetch and when the pending request was made. GUI thread only.
#pragma once

#include "gui/platform/drop_listener.h"

#include <X11/Xlib.h>

#include <cstdint>

class X11DropReceiver {
  public:
    static constexpr long kVersion = 5;
    static constexpr unsigned long kMaxDropBytes = 4u << 20;
    // How long the source may take to answer the request for the dropped data.
    static constexpr uint32_t kSelectionTimeoutMs = 2000;

    // Sets XdndAware on `window`; every later call names the listener to report to (none
    // after the window was detached: the protocol is still answered, nothing taken).
    X11DropReceiver(Display* display, ::Window window);

    // True when `event` belonged to the protocol (and was handled).
    bool handle(const XEvent& event, platform::DropListener* listener);
    // Ends a drop whose data did not arrive in time.
    void checkTimeout(platform::DropListener* listener);
    bool isDragging() const { return source != 0; }

  private:
    void enter(const XClientMessageEvent& message, platform::DropListener* listener);
    void position(const XClientMessageEvent& message, platform::DropListener* listener);
    void dropped(const XClientMessageEvent& message, platform::DropListener* listener);
    void selectionArrived(const XSelectionEvent& event, platform::DropListener* listener);
    void offer(Atom type);
    bool requestNext();
    void finish(bool taken, platform::DropListener* listener);
    void reset();
    void send(Atom messageType, long data1, long data2, long data3, long data4);
    uint32_t modifiers();

    Display* display;
    ::Window window;
    Atom aware, enterAtom, positionAtom, statusAtom, leaveAtom, dropAtom, finishedAtom;
    Atom selection, typeList, actionCopy, actionMove, incr, property;
    Atom uriList, utf8String, plainUtf8, plain;

    ::Window source = 0;
    long version = 0;
    Atom filesType = 0; // the types to fetch, 0 when not offered
    Atom textType = 0;
    int32_t x = 0;
    int32_t y = 0;
    platform::DropAction action = platform::DropAction::Refused;
    bool watchingSource = false;
    // The drop in progress: the type requested now, what is still to ask for, since when.
    Atom requested = 0;
    bool textPending = false;
    Time dropTime = CurrentTime;
    uint32_t requestTick = 0;
    bool delivering = false; // inside the listener's drop
};
