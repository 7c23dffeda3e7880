// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The built program on the test's X server, closed from outside: as a window
// manager closes a window (WM_DELETE_WINDOW), and with a click on the close
// button delivered as X events.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

// After gtest: Xlib's macros (None, Bool, ...) would break its headers.
#include "x11_find.h"
#include <X11/Xlib.h>
#include <X11/Xutil.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

// Start-up is slow in a sanitizer build; these bound the waits, they are not
// how long the tests take.
constexpr auto kStartTimeout = std::chrono::seconds(30);
constexpr auto kExitTimeout = std::chrono::seconds(10);
constexpr auto kPoll = std::chrono::milliseconds(20);

bool PollUntil(const std::function<bool()> &done, Clock::duration timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (!done()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kPoll);
    }
    return true;
}

// The program under test; killed by its pid if a test leaves it running.
class Program {
public:
    Program()
    {
        char *argv[] = {const_cast<char *>(TOLKA_PROGRAM), nullptr};
        m_bStarted = posix_spawn(&m_pid, TOLKA_PROGRAM, nullptr, nullptr, argv, environ) == 0;
    }
    ~Program()
    {
        if (m_bStarted && !m_bReaped) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    bool started() const { return m_bStarted; }

    // True once the program has ended within the timeout; status() then
    // holds its wait status.
    bool WaitExit(Clock::duration timeout)
    {
        return PollUntil(
            [this] {
                if (!m_bReaped && waitpid(m_pid, &m_nStatus, WNOHANG) == m_pid)
                    m_bReaped = true;
                return m_bReaped;
            },
            timeout);
    }
    int status() const { return m_nStatus; }

private:
    pid_t m_pid = 0;
    bool m_bStarted = false;
    bool m_bReaped = false;
    int m_nStatus = 0;
};

// One connection for the whole run, never closed: when its last client
// leaves, the X server resets and refuses connections for a moment, which
// would fail the next test's connection.
Display *SharedDisplay()
{
    static Display *display = XOpenDisplay(nullptr);
    return display;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_display = SharedDisplay();
        ASSERT_NE(m_display, nullptr) << "no X display: run under tests/with-xvfb.sh";
        ASSERT_TRUE(m_program.started()) << "cannot start " << TOLKA_PROGRAM;
        Display *display = m_display;
        ASSERT_TRUE(PollUntil(
            [&] {
                m_window = FindViewableWindow(display, DefaultRootWindow(display), "Tolka");
                return m_window != 0;
            },
            kStartTimeout))
            << "no window titled Tolka appeared";
    }

    void ExpectCleanExit()
    {
        ASSERT_TRUE(m_program.WaitExit(kExitTimeout)) << "the program did not end";
        ASSERT_TRUE(WIFEXITED(m_program.status())) << "wait status " << m_program.status();
        EXPECT_EQ(WEXITSTATUS(m_program.status()), 0);
    }

    Display *m_display = nullptr;
    Program m_program;
    Window m_window = 0;
};

} // namespace

TEST_F(ProgramTest, WindowManagerCloseEndsItWithStatusZero)
{
    Display *display = m_display;
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = m_window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    ASSERT_NE(XSendEvent(display, m_window, False, NoEventMask, &event), 0);
    XFlush(display);
    ExpectCleanExit();
}

// The close button fills the top half of the right-hand column (border 4,
// two rows of equal height 4 pixels apart) and is centred in it; the point
// a few pixels inside the window's right edge at a quarter of its height
// falls on it. The pointer enters there, then button 1 goes down and up.
TEST_F(ProgramTest, CloseButtonClickEndsItWithStatusZero)
{
    Display *display = m_display;
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(display, m_window, &attributes));
    const int x = attributes.width - 12;
    const int y = 4 + (attributes.height - 8 - 4) / 4;
    int nRootX = 0, nRootY = 0;
    Window child;
    XTranslateCoordinates(display, m_window, DefaultRootWindow(display), x, y, &nRootX, &nRootY,
                          &child);

    const struct {
        int nType;
        long nMask;
    } kEvents[] = {
        {EnterNotify, EnterWindowMask},
        {MotionNotify, PointerMotionMask},
        {ButtonPress, ButtonPressMask},
        {ButtonRelease, ButtonReleaseMask},
    };
    for (const auto &step : kEvents) {
        XEvent event;
        std::memset(&event, 0, sizeof event);
        event.type = step.nType;
        if (step.nType == EnterNotify) {
            XCrossingEvent &e = event.xcrossing;
            e.window = m_window;
            e.root = DefaultRootWindow(display);
            e.x = x, e.y = y, e.x_root = nRootX, e.y_root = nRootY;
            e.mode = NotifyNormal;
            e.detail = NotifyAncestor;
            e.same_screen = True;
        } else if (step.nType == MotionNotify) {
            XMotionEvent &e = event.xmotion;
            e.window = m_window;
            e.root = DefaultRootWindow(display);
            e.x = x, e.y = y, e.x_root = nRootX, e.y_root = nRootY;
            e.same_screen = True;
        } else {
            XButtonEvent &e = event.xbutton;
            e.window = m_window;
            e.root = DefaultRootWindow(display);
            e.x = x, e.y = y, e.x_root = nRootX, e.y_root = nRootY;
            e.button = Button1;
            e.state = step.nType == ButtonRelease ? Button1Mask : 0;
            e.same_screen = True;
        }
        ASSERT_NE(XSendEvent(display, m_window, False, step.nMask, &event), 0);
    }
    XFlush(display);
    ExpectCleanExit();
}
