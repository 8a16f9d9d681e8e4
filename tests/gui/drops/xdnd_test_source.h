// XdndTestSource: the dragging side of the XDND protocol, for tests: a program of its own on
// the X server (a connection and a hidden window) that sends enter, position, drop and leave
// messages straight to a target window, owns the drag selection and answers its requests
// with the data it was given per type. It runs no event loop of its own: every wait calls
// the test's `pump` (the editor's idle) between reads of its own events.
#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

class XdndTestSource {
  public:
    struct StatusReply {
        bool received = false;
        bool accepted = false;
        std::string action; // the atom's name, "" for none
    };
    struct FinishedReply {
        bool received = false;
        bool accepted = false;
        std::string action;
    };

    explicit XdndTestSource(std::function<void()> pump);
    ~XdndTestSource();
    XdndTestSource(const XdndTestSource&) = delete;
    XdndTestSource& operator=(const XdndTestSource&) = delete;

    bool isOpen() const { return display != nullptr; }
    // The data of one offered type ("text/uri-list", "UTF8_STRING", ...), in offer order.
    void offer(const std::string& type, const std::string& data);
    // Leaves the selection requests unanswered (a source that hangs).
    void setAnswersRequests(bool answers) { answering = answers; }

    // The messages; position() waits for the status answer.
    void enter(::Window target);
    StatusReply position(::Window target, int rootX, int rootY);
    void leave(::Window target);
    // Sends the drop and serves the data requests until the target reports the end.
    FinishedReply drop(::Window target);
    // The types the target asked for during the last drop.
    const std::vector<std::string>& requestedTypes() const { return requests; }
    // Sends the drop and ends at once, before any data is asked for.
    void dropAndVanish(::Window target);
    // Ends the source's connection, its windows with it (a program that dies mid-drag).
    void vanish();

  private:
    void sendMessage(::Window target, const char* type, long l1, long l2, long l3, long l4);
    // Reads the source's events for up to about four seconds until `done`.
    bool serveUntil(const std::function<bool()>& done);
    void answerRequest(const XSelectionRequestEvent& request);
    std::string atomName(Atom atom);

    std::function<void()> pump;
    Display* display = nullptr;
    ::Window window = 0;
    std::vector<std::pair<std::string, std::string>> offered;
    bool answering = true;
    StatusReply lastStatus;
    FinishedReply lastFinished;
    std::vector<std::string> requests;
};
