// COM and OLE on the calling thread, for the native pieces that need them (drops, shell links,
// file dialogs). The host owns the thread and may have initialised COM already, in either
// apartment: each guard initialises only for its own lifetime and undoes exactly what it did.
//
// ComApartment: CoInitializeEx for a single-threaded apartment. A thread that is already in
// the multithreaded apartment (RPC_E_CHANGED_MODE) keeps it; COM still works there, so the
// guard reports it usable, and uninitialises nothing.
// OleSession: OleInitialize. OLE drag and drop needs a single-threaded apartment: on a thread
// in the multithreaded one the session is not usable and drops are not offered.
// ComRef: one counted reference to a COM interface, released when it goes.
//
// State: whether the initialise succeeded (and must be balanced). GUI thread only.
#pragma once

#include <objbase.h>
#include <ole2.h>

class ComApartment {
  public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool isUsable() const { return usable; }

  private:
    bool initialised = false; // S_OK or S_FALSE: one CoUninitialize owed
    bool usable = false;
};

class OleSession {
  public:
    OleSession();
    ~OleSession();
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

    bool isUsable() const { return initialised; }

  private:
    bool initialised = false; // S_OK or S_FALSE: one OleUninitialize owed
};

template <class Interface> class ComRef {
  public:
    ComRef() = default;
    ~ComRef() { reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    Interface* get() const { return pointer; }
    Interface* operator->() const { return pointer; }
    explicit operator bool() const { return pointer != nullptr; }
    // Where a call that hands out a reference stores it; any reference held before is released.
    Interface** put() {
        reset();
        return &pointer;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    void reset() {
        if (pointer) pointer->Release();
        pointer = nullptr;
    }

  private:
    Interface* pointer = nullptr;
};
