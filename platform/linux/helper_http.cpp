#include "platform/linux/helper_http.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/linux/http_helper_protocol.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Time for the helper to start and hand over its answer, on top of the transfer's own limits.
constexpr milliseconds kHelperGrace{2'000};
constexpr size_t kReadChunkBytes = 64 * 1024;

HttpResponse failure(const QString& why) {
    HttpResponse response;
    response.error = QStringLiteral("velandri-http: ") + why;
    return response;
}

// The helper's process, with its output on a pipe. Killed and reaped when it goes.
class HelperProcess {
public:
    HelperProcess() = default;
    ~HelperProcess() { stop(); }
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    // 0, or the errno of what failed.
    int start(const QString& program, const QStringList& arguments);
    int output() const { return output_; }
    void stop();

private:
    pid_t pid_ = -1;
    int output_ = -1;
};

int HelperProcess::start(const QString& program, const QStringList& arguments) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return errno;
    output_ = pipeEnds[0];
    const QByteArray path = QFile::encodeName(program);
    std::vector<QByteArray> texts{path};
    for (const QString& argument : arguments) texts.push_back(argument.toUtf8());
    std::vector<char*> argv;
    for (QByteArray& text : texts) argv.push_back(text.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    const int result =
        posix_spawn(&pid_, path.constData(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (result != 0) pid_ = -1;
    return result;
}

// Whether it has ended by itself or not, nothing more is wanted from it.
void HelperProcess::stop() {
    if (output_ >= 0) close(output_);
    output_ = -1;
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}

// How long the helper may take in all, and how long it may stay silent (progress comes at least
// every second while a download runs; a page sends nothing before its answer).
struct Patience {
    milliseconds total;
    milliseconds silence;
};

class Deadline {
public:
    explicit Deadline(milliseconds length) : end_(Clock::now() + length) {}
    int remainingMs() const {
        const auto left = std::chrono::duration_cast<milliseconds>(end_ - Clock::now()).count();
        return int(std::clamp<long long>(left, 0, std::numeric_limits<int>::max()));
    }

private:
    Clock::time_point end_;
};

enum class Wait { Readable, TimedOut };

Wait waitForOutput(int fd, const Deadline& total, const Deadline& silence) {
    for (;;) {
        const int timeout = std::min(total.remainingMs(), silence.remainingMs());
        if (timeout == 0) return Wait::TimedOut;
        pollfd entry{fd, POLLIN, 0};
        const int ready = poll(&entry, 1, timeout);
        if (ready > 0) return Wait::Readable;
        if (ready < 0 && errno != EINTR) return Wait::Readable;  // the read reports it
    }
}

HttpResponse readAnswer(HelperProcess& helper, const Patience& patience, HelperOutput& output,
                        const HttpProgress& progress) {
    const Deadline total(patience.total);
    std::vector<char> chunk(kReadChunkBytes);
    for (Deadline silence(patience.silence);; silence = Deadline(patience.silence)) {
        if (waitForOutput(helper.output(), total, silence) == Wait::TimedOut)
            return failure(QStringLiteral("no answer within the time limit"));
        const ssize_t got = read(helper.output(), chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return failure(QString::fromLocal8Bit(std::strerror(errno)));
        if (got == 0) break;
        if (!output.take(chunk.data(), got, progress)) return failure(output.problem());
    }
    if (!output.complete()) return failure(QStringLiteral("the answer was cut short"));
    return output.response();
}

HttpResponse run(const QString& helperPath, const HelperRequest& request, const Patience& patience,
                 const HttpProgress& progress) {
    HelperProcess helper;
    if (const int error = helper.start(helperPath, helperArguments(request)))
        return failure(helperPath + QStringLiteral(" could not be started: ") +
                       QString::fromLocal8Bit(std::strerror(error)));
    HelperOutput output(request.limits.maxBodyBytes);
    return readAnswer(helper, patience, output, progress);
}

}  // namespace

HelperHttpClient::HelperHttpClient(QString helperPath, HttpLimits limits)
    : helperPath_(std::move(helperPath)), limits_(limits) {}

HttpResponse HelperHttpClient::get(const QString& url) {
    const milliseconds total = milliseconds(limits_.pageTimeoutMs) + kHelperGrace;
    return run(helperPath_, {HelperMode::Page, url, limits_}, {total, total}, {});
}

HttpResponse HelperHttpClient::download(const QString& url, const HttpProgress& progress) {
    const Patience patience{milliseconds(limits_.downloadTimeoutMs) + kHelperGrace,
                            std::chrono::seconds(limits_.lowSpeedSeconds) + kHelperGrace};
    return run(helperPath_, {HelperMode::Download, url, limits_}, patience, progress);
}
