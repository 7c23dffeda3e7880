// tolka_xwindow: small X11 helper for the scripts.
//   tolka_xwindow shot TITLE FILE.png [TIMEOUT_S]
//     waits until a window titled TITLE is mapped, lets it paint, and saves a
//     screenshot of it as PNG. Exit status 0 on success, 1 on time-out.
#include <gtk/gtk.h>
#include <gdk/gdkx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

// Depth-first search below root for a viewable window whose WM_NAME is title.
Window FindMapped(Display *display, Window window, const char *title)
{
    char *name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        const bool bMatch = std::strcmp(name, title) == 0;
        XFree(name);
        XWindowAttributes attributes;
        if (bMatch && XGetWindowAttributes(display, window, &attributes) &&
            attributes.map_state == IsViewable)
            return window;
    }
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; i++)
            found = FindMapped(display, children[i], title);
        if (children)
            XFree(children);
    }
    return found;
}

Window WaitMapped(Display *display, const char *title, double dTimeout)
{
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(dTimeout);
    while (std::chrono::steady_clock::now() < deadline) {
        Window window = FindMapped(display, DefaultRootWindow(display), title);
        if (window)
            return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}

int Shot(const char *title, const char *file, double dTimeout)
{
    Display *display = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
    Window window = WaitMapped(display, title, dTimeout);
    if (!window) {
        std::fprintf(stderr, "no window titled %s appeared\n", title);
        return 1;
    }
    // Mapped is not painted: give the program a moment to draw itself.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    GdkWindow *gdkWindow = gdk_window_foreign_new(window);
    GdkPixbuf *pixbuf = gdk_pixbuf_get_from_drawable(nullptr, gdkWindow, nullptr, 0, 0, 0, 0,
                                                     attributes.width, attributes.height);
    GError *error = nullptr;
    if (!pixbuf || !gdk_pixbuf_save(pixbuf, file, "png", &error, NULL)) {
        std::fprintf(stderr, "cannot save %s: %s\n", file, error ? error->message : "no image");
        return 1;
    }
    g_object_unref(pixbuf);
    g_object_unref(gdkWindow);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    gtk_init(&argc, &argv);
    if (argc >= 4 && std::strcmp(argv[1], "shot") == 0)
        return Shot(argv[2], argv[3], argc > 4 ? std::atof(argv[4]) : 10.0);
    std::fprintf(stderr, "usage: %s shot TITLE FILE.png [TIMEOUT_S]\n", argv[0]);
    return 2;
}
