// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Finding a program's top-level window on a display with no window manager,
// shared by the script helper and the tests that drive the real program.
#ifndef TOLKA_X11_FIND_H
#define TOLKA_X11_FIND_H

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>

// Depth-first search below window for a viewable window whose WM_NAME is
// szTitle; 0 if there is none.
inline Window FindViewableWindow(Display *display, Window window, const char *szTitle)
{
    char *szName = nullptr;
    if (XFetchName(display, window, &szName) && szName) {
        const bool bMatch = std::strcmp(szName, szTitle) == 0;
        XFree(szName);
        XWindowAttributes attributes;
        if (bMatch && XGetWindowAttributes(display, window, &attributes) &&
            attributes.map_state == IsViewable)
            return window;
    }
    Window root, parent, *children = nullptr;
    unsigned nChildren = 0;
    Window found = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &nChildren)) {
        for (unsigned i = 0; i < nChildren && !found; i++)
            found = FindViewableWindow(display, children[i], szTitle);
        if (children)
            XFree(children);
    }
    return found;
}

#endif
