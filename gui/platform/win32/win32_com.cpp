// ComApartment and OleSession: balanced initialisation of COM and OLE on the calling thread.
#include "gui/platform/win32/win32_com.h"

ComApartment::ComApartment() {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    initialised = SUCCEEDED(result);
    usable = initialised || result == RPC_E_CHANGED_MODE;
}

ComApartment::~ComApartment() {
    if (initialised) CoUninitialize();
}

OleSession::OleSession() {
    initialised = SUCCEEDED(OleInitialize(nullptr));
}

OleSession::~OleSession() {
    if (initialised) OleUninitialize();
}
