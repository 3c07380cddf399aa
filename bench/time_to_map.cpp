// Starts a program and prints "milliseconds-to-mapped peak-KiB": the time from the start to the
// mapping of its window with the given title, then, after a pause for the first paint, the peak
// resident memory once the program has been ended.
// The window's mapping is awaited as an X event rather than polled for, so that the measurement
// adds no load of its own to the two cores the program shares with the X server.
// Usage: time_to_map TITLE PROGRAM [ARGUMENTS...]
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kGiveUpAfter = std::chrono::seconds(20);
constexpr auto kFirstPaint = std::chrono::milliseconds(300);
constexpr auto kSettle = std::chrono::milliseconds(100);

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "time_to_map: %s\n", why.c_str());
    std::exit(1);
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(std::char_traits<char>::length(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    if (!reply) fail(std::string("no atom ") + name);
    return reply->atom;
}

class TitleWatch {
public:
    TitleWatch() : connection_(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(connection_)) fail("no X display");
        netWmName_ = atom(connection_, "_NET_WM_NAME");
        utf8String_ = atom(connection_, "UTF8_STRING");
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
    }
    ~TitleWatch() { xcb_disconnect(connection_); }
    TitleWatch(const TitleWatch&) = delete;
    TitleWatch& operator=(const TitleWatch&) = delete;

    // Whether a window titled `title` was mapped within `wait`; its id goes to `window`.
    bool awaitMapped(const std::string& title, std::chrono::milliseconds wait,
                     xcb_window_t& window) {
        return awaitEvent(wait, [&](const xcb_generic_event_t* event) {
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY) return false;
            window = reinterpret_cast<const xcb_map_notify_event_t*>(event)->window;
            return titleOf(window) == title;
        });
    }

    // Whether `window` was destroyed within `wait`.
    bool awaitDestroyed(xcb_window_t window, std::chrono::milliseconds wait) {
        return awaitEvent(wait, [&](const xcb_generic_event_t* event) {
            return (event->response_type & 0x7f) == XCB_DESTROY_NOTIFY &&
                   reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == window;
        });
    }

private:
    template <typename Match>
    bool awaitEvent(std::chrono::milliseconds wait, Match match) {
        const Clock::time_point deadline = Clock::now() + wait;
        // Events may already wait in xcb's queue, read along with an earlier reply.
        while (!takeMatching(match)) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) return false;
            pollfd entry{xcb_get_file_descriptor(connection_), POLLIN, 0};
            poll(&entry, 1, int(left.count()) + 1);
        }
        return true;
    }

    template <typename Match>
    bool takeMatching(Match match) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            const bool matches = match(event);
            std::free(event);
            if (matches) return true;
        }
        if (xcb_connection_has_error(connection_)) fail("the X connection broke");
        return false;
    }

    std::string titleOf(xcb_window_t window) {
        const xcb_get_property_cookie_t cookie =
            xcb_get_property(connection_, 0, window, netWmName_, utf8String_, 0, 1024);
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(connection_, cookie, nullptr), &std::free);
        if (!reply) return {};
        return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                           size_t(xcb_get_property_value_length(reply.get())));
    }

    xcb_connection_t* connection_;
    xcb_atom_t netWmName_;
    xcb_atom_t utf8String_;
};

// The program's own output goes to standard error, so that standard output holds only the figures.
pid_t start(char** argv) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) fail(std::string("cannot start ") + argv[0] + ": " + std::strerror(error));
    return pid;
}

bool hasEnded(pid_t pid) { return waitpid(pid, nullptr, WNOHANG) == pid; }

long endAndTakePeakKiB(pid_t pid) {
    kill(pid, SIGTERM);
    rusage usage{};
    while (wait4(pid, nullptr, 0, &usage) < 0 && errno == EINTR) {
    }
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) fail("usage: time_to_map TITLE PROGRAM [ARGUMENTS...]");
    const std::string title = argv[1];
    TitleWatch watch;
    const Clock::time_point started = Clock::now();
    const pid_t pid = start(argv + 2);
    xcb_window_t window = 0;
    while (!watch.awaitMapped(title, std::chrono::milliseconds(50), window)) {
        if (hasEnded(pid)) fail(std::string(argv[2]) + " ended before showing its window");
        if (Clock::now() - started > kGiveUpAfter) fail("no window titled " + title);
    }
    const std::chrono::duration<double, std::milli> elapsed = Clock::now() - started;
    std::this_thread::sleep_for(kFirstPaint);
    const long peakKiB = endAndTakePeakKiB(pid);
    // The next start must not share the cores with the X server's clean-up after this one.
    if (!watch.awaitDestroyed(window, kGiveUpAfter)) fail("the window outlived its program");
    std::this_thread::sleep_for(kSettle);
    std::printf("%.1f %ld\n", elapsed.count(), peakKiB);
}
