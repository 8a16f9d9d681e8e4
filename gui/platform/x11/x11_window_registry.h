// The process's one bookkeeping of the toolkit's window classes and of the frame windows made
// with them: a window is only made for a registered class, and an event is only delivered to
// a window that is still listed (anything else gets default handling, that is, none).
//
// Process-wide plain state, GUI thread only.
#pragma once

class X11Window;

namespace x11_registry {

// Class names are counted: a name is listed until it was removed as often as it was added.
void addClass(const char* name);
void removeClass(const char* name);
bool hasClass(const char* name);

void addWindow(X11Window* window);
void removeWindow(X11Window* window);
bool hasWindow(const X11Window* window);
int windowCount();

} // namespace x11_registry
