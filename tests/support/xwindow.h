// Test support: the program's window among the X server's top-level windows, found by
// its UTF-8 title.
#pragma once

#include <X11/Xlib.h>
#include <string>

// Window w's property name as text; a value that is not UTF8_STRING is marked
// "(not UTF8_STRING) ", a missing one is empty.
std::string utf8Property(Display* display, Window w, const char* name);

// The top-level window whose _NET_WM_NAME equals title, or 0.
Window findWindow(Display* display, const std::string& title);
