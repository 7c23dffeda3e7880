// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tolka_xwindow: small X11 helper for the scripts.
//   tolka_xwindow shot TITLE FILE.png [TIMEOUT_S]
//     waits until a window titled TITLE is mapped, lets it paint, and saves a
//     screenshot of it as PNG. Exit status 0 on success, 1 on time-out.
//   tolka_xwindow launch TITLE [TIMEOUT_S] -- PROGRAM [ARGS...]
//     starts PROGRAM and prints "MS KB": the milliseconds from just before
//     its exec to the mapping of its top-level window titled TITLE, and its
//     resident memory (VmRSS) at that moment; then ends it (SIGTERM). Made
//     for a display with no window manager, where top-level windows are
//     mapped directly as children of the root. Exit status 1 if no such
//     window appears in time or the program ends first.
#include <gtk/gtk.h>
#include <gdk/gdkx.h>
#include "x11_find.h"
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

Window WaitMapped(Display *display, const char *title, double dTimeout)
{
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(dTimeout);
    while (std::chrono::steady_clock::now() < deadline) {
        Window window = FindViewableWindow(display, DefaultRootWindow(display), title);
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

double MonotonicMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// VmRSS of the process in kB, or -1 if it cannot be read.
long ResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, 6, "VmRSS:") == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

bool HasTitle(Display *display, Window window, const char *title)
{
    char *name = nullptr;
    if (!XFetchName(display, window, &name) || !name)
        return false;
    const bool bMatch = std::strcmp(name, title) == 0;
    XFree(name);
    return bMatch;
}

// A window can be gone by the time its name is asked for; that is no reason
// for Xlib's default handler to end the measurement.
int IgnoreXError(Display *, XErrorEvent *)
{
    return 0;
}

void EndChild(pid_t pid)
{
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

int Launch(const char *title, double dTimeout, char *program[])
{
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    // Listen before the program exists, so its MapNotify cannot be missed;
    // and keep our X connection out of the program.
    XSetErrorHandler(IgnoreXError);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    const int fd = ConnectionNumber(display);
    fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC);

    const double dStart = MonotonicMs();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        return 1;
    }
    if (pid == 0) {
        execvp(program[0], program);
        _exit(127);
    }

    const double dDeadline = dStart + dTimeout * 1e3;
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify || event.xmap.event != root ||
                !HasTitle(display, event.xmap.window, title))
                continue;
            const double dMapped = MonotonicMs();
            const long nKb = ResidentKb(pid);
            EndChild(pid);
            XCloseDisplay(display);
            std::printf("%.3f %ld\n", dMapped - dStart, nKb);
            return 0;
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "%s ended before mapping a window titled %s\n", program[0],
                         title);
            XCloseDisplay(display);
            return 1;
        }
        const double dLeft = dDeadline - MonotonicMs();
        if (dLeft <= 0)
            break;
        // Wake up at least every 50 ms to notice a program that has died.
        pollfd pfd = {fd, POLLIN, 0};
        poll(&pfd, 1, static_cast<int>(dLeft < 50 ? dLeft + 1 : 50));
    }
    std::fprintf(stderr, "no window titled %s appeared\n", title);
    EndChild(pid);
    XCloseDisplay(display);
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // Before gtk_init: it would take the program's own options for ours.
    if (argc >= 3 && std::strcmp(argv[1], "launch") == 0) {
        int nDashes = 3;
        while (nDashes < argc && std::strcmp(argv[nDashes], "--") != 0)
            nDashes++;
        if (nDashes + 1 < argc && nDashes <= 4)
            return Launch(argv[2], nDashes == 4 ? std::atof(argv[3]) : 10.0,
                          argv + nDashes + 1);
    }
    gtk_init(&argc, &argv);
    if (argc >= 4 && std::strcmp(argv[1], "shot") == 0)
        return Shot(argv[2], argv[3], argc > 4 ? std::atof(argv[4]) : 10.0);
    std::fprintf(stderr,
                 "usage: %s shot TITLE FILE.png [TIMEOUT_S]\n"
                 "       %s launch TITLE [TIMEOUT_S] -- PROGRAM [ARGS...]\n",
                 argv[0], argv[0]);
    return 2;
}
