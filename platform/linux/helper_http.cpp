#include "platform/linux/helper_http.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/linux/helper_output.h"
#include "platform/linux/http_helper_protocol.h"

extern char** environ;

namespace velandri {

using std::chrono::milliseconds;

// The helper's process: its request goes in over a socket, so that a helper gone early is an
// error to the sender rather than a SIGPIPE; its answer comes back on a pipe. Killed when the
// object goes, whether it has ended by itself or not, and reaped in the background.
class HelperProcess {
public:
    HelperProcess() = default;
    ~HelperProcess();
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    Result<> start(const QString& program);
    // The request, then the end of the input.
    Result<> send(std::string_view request);
    int output() const { return output_; }

private:
    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
};

namespace {

// Time for the helper to start and hand over its answer, on top of the transfer's own limits.
constexpr milliseconds kHelperGrace{2'000};
constexpr size_t kReadChunkBytes = 64 * 1024;

Failure failure(const QString& why) {
    return Failure{FailureKind::transferFailed, QStringLiteral("velandri-http: ") + why};
}

QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

Failure notStarted(const QString& program, int error) {
    return failure(program + QStringLiteral(" could not be started: ") + errorText(error));
}

void closeIfOpen(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

}  // namespace

Result<> HelperProcess::start(const QString& program) {
    int inputEnds[2];
    int outputEnds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, inputEnds) != 0)
        return notStarted(program, errno);
    input_ = inputEnds[0];
    if (pipe2(outputEnds, O_CLOEXEC) != 0) {
        const int error = errno;
        close(inputEnds[1]);
        return notStarted(program, error);
    }
    output_ = outputEnds[0];
    QByteArray path = QFile::encodeName(program);
    char* argv[] = {path.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inputEnds[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputEnds[1], STDOUT_FILENO);
    const int result = posix_spawn(&pid_, path.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(inputEnds[1]);
    close(outputEnds[1]);
    if (result == 0) return {};
    pid_ = -1;
    return notStarted(program, result);
}

Result<> HelperProcess::send(std::string_view request) {
    while (!request.empty()) {
        const ssize_t sent = ::send(input_, request.data(), request.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0)
            return failure(QStringLiteral("the request could not be sent: ") + errorText(errno));
        request.remove_prefix(size_t(sent));
    }
    closeIfOpen(input_);
    return {};
}

namespace {

void reap(pid_t pid) {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

// A helper is done once its answer is read: killing it spares its own clean-up, and its reaping
// waits for the kernel to take its memory down, so a thread of its own does that rather than the
// caller. The process stays unreaped until then, so its id cannot go to another.
void endInBackground(pid_t pid) {
    kill(pid, SIGKILL);
    try {
        std::thread(reap, pid).detach();
    } catch (const std::system_error&) {
        reap(pid);  // no thread to be had: better late than a zombie
    }
}

}  // namespace

HelperProcess::~HelperProcess() {
    closeIfOpen(input_);
    closeIfOpen(output_);
    if (pid_ > 0) endInBackground(pid_);
}

namespace {

// How long the helper may take in all, and how long it may stay silent (progress comes at least
// every second while a download runs; a page sends nothing before its answer).
struct Patience {
    milliseconds total;
    milliseconds silence;
};

Patience patienceFor(bool download, const HttpLimits& limits) {
    if (!download) {
        const milliseconds total = milliseconds(limits.pageTimeoutMs) + kHelperGrace;
        return {total, total};
    }
    return {milliseconds(limits.downloadTimeoutMs) + kHelperGrace,
            std::chrono::seconds(limits.lowSpeedSeconds) + kHelperGrace};
}

enum class Wait { Readable, TimedOut };

// poll takes an int time-out; a past deadline waits no more.
int remainingMs(const QDeadlineTimer& deadline) {
    return int(std::clamp<qint64>(deadline.remainingTime(), 0, std::numeric_limits<int>::max()));
}

Wait waitForOutput(int fd, const QDeadlineTimer& total, const QDeadlineTimer& silence) {
    for (;;) {
        const int timeout = std::min(remainingMs(total), remainingMs(silence));
        if (timeout == 0) return Wait::TimedOut;
        pollfd entry{fd, POLLIN, 0};
        const int ready = poll(&entry, 1, timeout);
        if (ready > 0) return Wait::Readable;
        if (ready < 0 && errno != EINTR) return Wait::Readable;  // the read reports it
    }
}

Result<HttpResponse> readAnswer(int fd, const Patience& patience, qint64 maxBodyBytes,
                                const HttpProgress& progress) {
    HelperOutput output(maxBodyBytes);
    const QDeadlineTimer total(patience.total, Qt::PreciseTimer);
    std::vector<char> chunk(kReadChunkBytes);
    // Taken as soon as it is whole: the end of the output would only come once the helper has
    // exited, which takes it a while longer.
    for (QDeadlineTimer silence(patience.silence, Qt::PreciseTimer); !output.complete();
         silence.setRemainingTime(patience.silence, Qt::PreciseTimer)) {
        if (waitForOutput(fd, total, silence) == Wait::TimedOut)
            return failure(QStringLiteral("no answer within the time limit"));
        const ssize_t got = read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return failure(errorText(errno));
        if (got == 0) break;
        if (const Result<> taken = output.take(chunk.data(), got, progress); !taken)
            return failure(taken.error().detail);
    }
    if (!output.complete()) return failure(QStringLiteral("the answer was cut short"));
    return output.response();
}

}  // namespace

HelperHttpClient::HelperHttpClient(QString helperPath, HttpLimits limits)
    : helperPath_(std::move(helperPath)), limits_(limits) {}

HelperHttpClient::~HelperHttpClient() = default;

// A helper that cannot start now gets its second chance, and its error message, at the GET.
void HelperHttpClient::startAhead() {
    auto helper = std::make_unique<HelperProcess>();
    if (helper->start(helperPath_)) ahead_ = std::move(helper);
}

Result<HttpResponse> HelperHttpClient::get(const QString& url) { return run(url, false, {}); }

Result<HttpResponse> HelperHttpClient::download(const QString& url, const HttpProgress& progress) {
    return run(url, true, progress);
}

Result<HttpResponse> HelperHttpClient::run(const QString& url, bool download,
                                           const HttpProgress& progress) {
    const HelperRequest request{download ? HelperMode::Download : HelperMode::Page,
                                url.toStdString(), limits_};
    const std::string text = requestText(request);
    if (text.empty()) return failure(QStringLiteral("an address with a line break"));
    std::unique_ptr<HelperProcess> helper = std::move(ahead_);
    if (!helper) {
        helper = std::make_unique<HelperProcess>();
        if (const Result<> started = helper->start(helperPath_); !started) return started.error();
    }
    if (const Result<> sent = helper->send(text); !sent) return sent.error();
    // A helper that is abandoned is killed as the object goes.
    return readAnswer(helper->output(), patienceFor(download, limits_),
                      download ? limits_.maxBodyBytes : limits_.maxPageBytes, progress);
}

}  // namespace velandri
