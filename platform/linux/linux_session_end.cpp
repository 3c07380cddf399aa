#include "platform/linux/linux_session_end.h"

#include <fcntl.h>
#include <unistd.h>

#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include "platform/log.h"

namespace velandri {

namespace {

constexpr std::array kSessionSignals{SIGTERM, SIGHUP, SIGINT};

// Lock-free, so the handler may read it.
std::atomic<int> signalPipeInput = -1;
static_assert(std::atomic<int>::is_always_lock_free);

// Only what is safe in a signal handler: one byte into a pipe that never blocks (when it is
// full, a byte already says that a signal came).
void onSessionSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(signalPipeInput.load(), &byte, 1);
    errno = saved;
}

std::function<void()> keepAtExitOfRun;
std::thread::id armingThread;

// Qt's X11 connection calls exit() on the GUI thread when the server goes. exit() unwinds no
// stack, so the objects of main are whole; handlers and static destructors run in the reverse
// order of their registration, so every static made before the arming (the store's own are
// made by its load) is still there. Any other thread's exit leaves the store alone: the GUI
// thread may be using it.
void keepAtExit() {
    if (!keepAtExitOfRun || std::this_thread::get_id() != armingThread) return;
    std::exchange(keepAtExitOfRun, {})();
}

}  // namespace

LinuxSessionEnd::LinuxSessionEnd() {
    watchSignals();
    watchSessionManager();
}

LinuxSessionEnd::~LinuxSessionEnd() {
    disarm();
    for (std::size_t i = 0; i < kSessionSignals.size(); ++i)
        if (handled_[i]) std::signal(kSessionSignals[i], SIG_DFL);
    signalPipeInput.store(-1);
    notifier_.reset();
    for (const int end : pipe_)
        if (end >= 0) close(end);
}

void LinuxSessionEnd::watchSignals() {
    if (pipe2(pipe_.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(velandriLog) << "the signals of a session's end are not watched:"
                               << std::strerror(errno);
        return;
    }
    signalPipeInput.store(pipe_[1]);
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { signalArrived(); });
    struct sigaction action = {};
    action.sa_handler = onSessionSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kSessionSignals.size(); ++i) {
        struct sigaction previous = {};
        sigaction(kSessionSignals[i], nullptr, &previous);
        // What the starter chose to ignore stays ignored (nohup, a shell's background job).
        if (previous.sa_handler == SIG_IGN) continue;
        handled_[i] = sigaction(kSessionSignals[i], &action, nullptr) == 0;
    }
}

// The commit request must be answered before Qt tells the manager that it is done, so it is
// handled at once.
void LinuxSessionEnd::watchSessionManager() {
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!application) return;
    connect(
        application, &QGuiApplication::commitDataRequest, this,
        [this](QSessionManager&) { emit commitWanted(); }, Qt::DirectConnection);
    application->installEventFilter(this);
}

// The manager's "die" arrives as a spontaneous quit. Qt would ask the windows to close, which the
// main window refuses, so the program would neither keep the run nor end. The program's own quit
// after the run has ended is spontaneous on X11 too, so only an armed watch takes it.
bool LinuxSessionEnd::eventFilter(QObject* watched, QEvent* event) {
    if (!armed_ || watched != QCoreApplication::instance() || event->type() != QEvent::Quit ||
        !event->spontaneous())
        return SessionEnd::eventFilter(watched, event);
    emit endWanted();
    return true;
}

void LinuxSessionEnd::signalArrived() {
    char bytes[64];
    while (read(pipe_[0], bytes, sizeof bytes) > 0) {
    }
    emit endWanted();
}

void LinuxSessionEnd::arm(std::function<void()> keepAtDisplayLoss) {
    armed_ = true;
    static const bool registered = std::atexit(keepAtExit) == 0;
    if (!registered) {
        qCWarning(velandriLog) << "the run is not kept if the display goes away";
        return;
    }
    armingThread = std::this_thread::get_id();
    keepAtExitOfRun = std::move(keepAtDisplayLoss);
}

void LinuxSessionEnd::disarm() {
    armed_ = false;
    keepAtExitOfRun = {};
}

}  // namespace velandri
