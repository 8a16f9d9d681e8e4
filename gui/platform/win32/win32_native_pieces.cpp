// The registry of the native pieces linked into this program.
#include "gui/platform/win32/win32_native_pieces.h"

Win32NativePieces& win32NativePieces() {
    static Win32NativePieces pieces;
    return pieces;
}
