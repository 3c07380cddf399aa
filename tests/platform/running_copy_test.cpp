#include "platform/running_copy.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <optional>

#include "fakes/log_capture.h"

using namespace velandri;

namespace {

// Sets an environment variable, or unsets it when value is empty, until the object goes.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QString& value)
        : name_(name), old_(qEnvironmentVariable(name)), wasSet_(qEnvironmentVariableIsSet(name)) {
        set(value);
    }
    ~ScopedVariable() { set(wasSet_ ? old_ : QString()); }
    void set(const QString& value) {
        if (value.isEmpty())
            qunsetenv(name_);
        else
            qputenv(name_, value.toLocal8Bit());
    }

private:
    const char* name_;
    QString old_;
    bool wasSet_;
};

bool makeFolder(const QString& path, mode_t mode) {
    return mkdir(QFile::encodeName(path).constData(), mode) == 0 &&
           chmod(QFile::encodeName(path).constData(), mode) == 0;
}

mode_t modeOf(const QString& path) {
    struct stat status {};
    return stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// A second local user account, made for the test and removed after it.
class OtherUser {
public:
    OtherUser() : name_(QStringLiteral("velandri-peer-%1").arg(getpid())) {
        if (QProcess::execute(
                QStringLiteral("/usr/sbin/useradd"),
                {"--system", "--no-create-home", "--shell", "/usr/sbin/nologin", name_}) != 0)
            return;
        if (const passwd* entry = getpwnam(name_.toLocal8Bit().constData())) {
            uid_ = entry->pw_uid;
            gid_ = entry->pw_gid;
        }
    }
    ~OtherUser() { QProcess::execute(QStringLiteral("/usr/sbin/userdel"), {name_}); }
    bool exists() const { return uid_.has_value(); }
    uid_t uid() const { return *uid_; }
    gid_t gid() const { return gid_; }

private:
    QString name_;
    std::optional<uid_t> uid_;
    gid_t gid_ = 0;
};

// In the child only: binds the socket as root, gives it to the user, and listens as the user,
// so that a client's peer credentials name that user. Never returns.
[[noreturn]] void listenAs(const sockaddr_un& address, uid_t uid, gid_t gid, int readyPipe) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        chown(address.sun_path, uid, gid) != 0 || setgroups(0, nullptr) != 0 || setgid(gid) != 0 ||
        setuid(uid) != 0 || listen(fd, 8) != 0)
        _exit(1);
    if (write(readyPipe, "r", 1) != 1) _exit(1);
    for (;;) pause();
}

// Another user's process listening on a local socket at path, until the object goes.
class ForeignListener {
public:
    ForeignListener(const QString& path, const OtherUser& user) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, QFile::encodeName(path).constData(),
                     sizeof address.sun_path - 1);
        int ready[2];
        if (pipe(ready) != 0) return;
        pid_ = fork();
        if (pid_ == 0) listenAs(address, user.uid(), user.gid(), ready[1]);
        close(ready[1]);
        char byte = 0;
        listening_ = pid_ > 0 && read(ready[0], &byte, 1) == 1;
        close(ready[0]);
    }
    ~ForeignListener() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    ForeignListener(const ForeignListener&) = delete;
    ForeignListener& operator=(const ForeignListener&) = delete;
    bool listening() const { return listening_; }

private:
    pid_t pid_ = -1;
    bool listening_ = false;
};

class RunningCopyTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(makeFolder(runtime, 0700));
        ASSERT_TRUE(makeFolder(temp, 01777));
    }

    // Whether a second start with the same data folder defers to the first, which is asked
    // to come forward.
    static bool secondStartDefers(const QString& dataFolder) {
        SingleInstance first(dataFolder);
        if (!first.claim()) return false;
        QSignalSpy asked(&first, &SingleInstance::activationRequested);
        SingleInstance second(dataFolder);
        return !second.claim() && asked.wait(5'000);
    }

    QTemporaryDir root;
    QString runtime = root.filePath(QStringLiteral("runtime"));
    QString temp = root.filePath(QStringLiteral("tmp"));
    QString cache = root.filePath(QStringLiteral("cache"));
    QString dataFolder = root.filePath(QStringLiteral("data/Velandri"));
    ScopedVariable runtimeVariable{"XDG_RUNTIME_DIR", runtime};
    ScopedVariable tempVariable{"TMPDIR", temp};
    ScopedVariable cacheVariable{"XDG_CACHE_HOME", cache};
};

TEST_F(RunningCopyTest, SocketLiesInTheUsersPrivateRuntimeFolder) {
    const QString path = runningCopySocketPath(dataFolder);
    EXPECT_EQ(QFileInfo(path).path(), runtime);
    EXPECT_TRUE(secondStartDefers(dataFolder));
    EXPECT_NE(runningCopySocketPath(dataFolder + "2"), path) << "one copy per data folder";

    // Without $XDG_RUNTIME_DIR, a folder of the user's own, made for nobody else.
    runtimeVariable.set({});
    const QString fallback = QFileInfo(runningCopySocketPath(dataFolder)).path();
    ASSERT_EQ(QFileInfo(fallback).path(), cache);
    EXPECT_EQ(modeOf(fallback), mode_t(0700));
    EXPECT_TRUE(secondStartDefers(dataFolder));

    // A folder that others may enter is no place for the name; the start is not refused.
    ASSERT_TRUE(QDir(fallback).removeRecursively());
    ASSERT_TRUE(makeFolder(fallback, 0755));
    runtimeVariable.set(temp);
    EXPECT_EQ(runningCopySocketPath(dataFolder), QString());
    EXPECT_TRUE(SingleInstance(dataFolder).claim());
}

// Without $XDG_RUNTIME_DIR, another local user can make names in the shared temporary folder
// before this user's first start; a folder that is not ours and private is never used, and the
// start goes on, saying so in the log.
TEST_F(RunningCopyTest, NoFolderAnotherUserCouldHaveMadeIsUsed) {
    runtimeVariable.set({});
    const QString shared = temp + QStringLiteral("/velandri-runtime-%1").arg(geteuid());
    ASSERT_TRUE(makeFolder(shared, 0777));
    EXPECT_FALSE(runningCopySocketPath(dataFolder).startsWith(temp));
    EXPECT_TRUE(secondStartDefers(dataFolder)) << "a folder open to all in the temporary folder";
    ASSERT_TRUE(QDir(shared).removeRecursively());
    ASSERT_TRUE(QFile::link(root.filePath(QStringLiteral("elsewhere")), shared));
    EXPECT_TRUE(secondStartDefers(dataFolder)) << "a link in the temporary folder";

    const QString own = QFileInfo(runningCopySocketPath(dataFolder)).path();
    ASSERT_EQ(QFileInfo(own).path(), cache);
    const auto neverUsed = [&](const char* what) {
        LogCapture log;
        EXPECT_EQ(runningCopySocketPath(dataFolder), QString()) << what;
        EXPECT_TRUE(SingleInstance(dataFolder).claim()) << what;
        EXPECT_TRUE(log.take().join(u'\n').contains(QStringLiteral("without the guard"))) << what;
        ASSERT_EQ(::remove(QFile::encodeName(own).constData()), 0) << what;
    };
    ASSERT_TRUE(QDir(own).removeRecursively());
    ASSERT_TRUE(QFile::link(runtime, own));
    neverUsed("a link to a private folder");
    ASSERT_TRUE(makeFolder(own, 0777));
    neverUsed("a folder open to all");
    if (geteuid() == 0) {
        ASSERT_TRUE(makeFolder(own, 0700));
        ASSERT_EQ(chown(QFile::encodeName(own).constData(), 65534, 65534), 0);
        neverUsed("another user's private folder");
    }
}

// Only the request brings the running copy forward, however it arrives; other talk is dropped
// without stopping the guard, and the name goes with the copy.
TEST_F(RunningCopyTest, OnlyTheRequestBringsTheCopyForward) {
    const QString path = runningCopySocketPath(dataFolder);
    {
        SingleInstance first(dataFolder);
        ASSERT_TRUE(first.claim());
        EXPECT_TRUE(runningCopyAnswers(path));
        QSignalSpy asked(&first, &SingleInstance::activationRequested);

        QLocalSocket chatter;
        chatter.connectToServer(path);
        ASSERT_TRUE(chatter.waitForConnected(1'000));
        QSignalSpy cutOff(&chatter, &QLocalSocket::disconnected);
        chatter.write(QByteArray(100, 'x') + "activate\n");
        EXPECT_TRUE(cutOff.wait(5'000)) << "more than a request is cut off";
        QLocalSocket silent;
        silent.connectToServer(path);
        ASSERT_TRUE(silent.waitForConnected(1'000));
        QLocalSocket halting;
        halting.connectToServer(path);
        ASSERT_TRUE(halting.waitForConnected(1'000));
        halting.write("activ");
        ASSERT_TRUE(halting.waitForBytesWritten(1'000));
        QTest::qWait(100);
        halting.write("ate\n");
        ASSERT_TRUE(asked.wait(5'000));
        QTest::qWait(200);
        EXPECT_EQ(asked.size(), 1);
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(runningCopyAnswers(path));
}

// Another local user can reach the shared temporary folder and, through an inherited
// $XDG_RUNTIME_DIR, its own runtime folder; neither may keep this user's program from starting.
TEST_F(RunningCopyTest, OtherUsersListenersDoNotStopTheStart) {
    if (geteuid() != 0) GTEST_SKIP() << "making a second user account needs root";
    const OtherUser other;
    ASSERT_TRUE(other.exists());

    {
        // The name every copy used in the shared temporary folder.
        const QByteArray digest =
            QCryptographicHash::hash(dataFolder.toUtf8(), QCryptographicHash::Sha256)
                .toHex()
                .left(16);
        const ForeignListener squatter(
            temp + QStringLiteral("/velandri-%1-%2").arg(getuid()).arg(QString::fromLatin1(digest)),
            other);
        ASSERT_TRUE(squatter.listening());
        EXPECT_TRUE(SingleInstance(dataFolder).claim()) << "a socket at the old place";
    }

    const QString name = QFileInfo(runningCopySocketPath(dataFolder)).fileName();
    const QString othersRuntime = root.filePath(QStringLiteral("others-runtime"));
    ASSERT_TRUE(makeFolder(othersRuntime, 0700));
    ASSERT_EQ(chown(QFile::encodeName(othersRuntime).constData(), other.uid(), other.gid()), 0);
    {
        const ForeignListener squatter(othersRuntime + u'/' + name, other);
        ASSERT_TRUE(squatter.listening());
        runtimeVariable.set(othersRuntime);
        EXPECT_FALSE(runningCopySocketPath(dataFolder).startsWith(othersRuntime));
        EXPECT_TRUE(SingleInstance(dataFolder).claim()) << "in the other user's runtime folder";
        runtimeVariable.set(runtime);
    }
    {
        const ForeignListener squatter(runtime + u'/' + name, other);
        ASSERT_TRUE(squatter.listening());
        EXPECT_TRUE(SingleInstance(dataFolder).claim()) << "another user's copy at our name";
    }
    EXPECT_TRUE(secondStartDefers(dataFolder));
}

}  // namespace
