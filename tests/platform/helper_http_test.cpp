// The program's side of the HTTP helper, against stand-in helpers that misbehave in every way
// a real one could; the real helper runs against a real site in the update tests.
#include "platform/linux/helper_http.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <utility>
#include <vector>

#include "fakes/qt_printers.h"
#include "fakes/stub_programs.h"

using namespace velandri;

namespace {

const QString kHelper = QStringLiteral("velandri-http");
const QString kUrl = QStringLiteral("http://127.0.0.1:9/SoftVer.html");

class HelperHttpTest : public testing::Test {
protected:
    HelperHttpTest() {
        limits.pageTimeoutMs = 300;
        limits.lowSpeedSeconds = 1;
        limits.maxBodyBytes = 1024;
        limits.maxPageBytes = 512;
    }
    // A stand-in that counts its starts, notes its process id and keeps the request it reads, as
    // the real helper reads it, before it runs body.
    void installHelper(const QByteArray& body) {
        const QByteArray log = stubs.home().toLocal8Bit();
        stubs.installScript(kHelper, "echo >> '" + log + "/starts'\necho $$ > '" + log +
                                         "/pid'\n/bin/cat > '" + log + "/request'\n" + body);
    }
    // The last stand-in's process id, once it has noted it.
    pid_t helperPid() const {
        const QDeadlineTimer deadline(10'000);
        while (!logged("pid").endsWith('\n') && !deadline.hasExpired()) QThread::msleep(5);
        return logged("pid").trimmed().toInt();
    }
    QByteArray logged(const char* name) const {
        QFile file(stubs.home() + '/' + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    HelperHttpClient client() const {
        return HelperHttpClient(stubs.binFolder() + '/' + kHelper, limits);
    }

    StubPrograms stubs;
    HttpLimits limits;
};

TEST_F(HelperHttpTest, RequestGoesInAndAnswerArrivesWhole) {
    // A body with a line break and a NUL, so nothing in it is taken for a record.
    installHelper("printf 'P 3 5\\nP 5 5\\nR 201 19 5\\nHTTP/1.1 201 OK\\r\\n\\r\\na\\nb\\0c'\n");
    std::vector<std::pair<qint64, qint64>> seen;
    const Result<HttpResponse> result = client().download(kUrl, [&](qint64 received, qint64 total) {
        seen.emplace_back(received, total);
        return true;
    });
    EXPECT_EQ(logged("request"),
              "download\n" + kUrl.toUtf8() + "\n3000\n300\n1024\n1\n1800000\n1024\n512\n");
    ASSERT_TRUE(result.has_value()) << result.error().detail.toStdString();
    const HttpResponse& response = result.value();
    EXPECT_EQ(response.status, 201);
    EXPECT_EQ(response.headers, QByteArray("HTTP/1.1 201 OK\r\n\r\n"));
    EXPECT_EQ(response.body, QByteArray("a\nb\0c", 5));
    EXPECT_EQ(seen, (std::vector<std::pair<qint64, qint64>>{{3, 5}, {5, 5}}));

    installHelper("printf 'E 18\\nConnection refused'\n");
    const Result<HttpResponse> refused = client().get(kUrl);
    EXPECT_TRUE(logged("request").startsWith("page\n"));
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error().detail, QStringLiteral("Connection refused"));
}

// A helper started ahead waits for the next GET and serves only that one.
TEST_F(HelperHttpTest, HelperStartedAheadServesTheNextGet) {
    installHelper("printf 'R 200 0 2\\nok'\n");
    HelperHttpClient http = client();
    http.startAhead();
    EXPECT_EQ(http.get(kUrl).value().body, "ok");
    EXPECT_EQ(logged("starts"), "\n");
    EXPECT_EQ(http.get(kUrl).value().body, "ok");
    EXPECT_EQ(logged("starts"), "\n\n");

    // Without a helper to start ahead, the GET tries again and says why it failed.
    QFile::remove(stubs.binFolder() + '/' + kHelper);
    http.startAhead();
    const Result<HttpResponse> missing = http.get(kUrl);
    ASSERT_FALSE(missing.has_value());
    EXPECT_TRUE(missing.error().detail.contains(QStringLiteral("could not be started")))
        << missing.error().detail.toStdString();
}

// Whatever goes wrong with the helper, the transfer fails with a reason and nothing hangs.
TEST_F(HelperHttpTest, HelperFailuresAreFailedTransfers) {
    struct Case {
        const char* name;
        QByteArray script;  // empty: no helper at all
    };
    const Case cases[] = {
        {"missing", {}},
        {"dies in the middle of its answer", "printf 'R 200 17 10\\nHTTP/1.1 200'\nkill -9 $$\n"},
        {"garbage", "echo '<html>not a helper</html>'\n"},
        {"line without end", "printf '%0200d' 0\n"},
        {"answer cut short", "printf 'R 200 0 10\\nabc'\n"},
        {"body over the page's cap",
         "printf 'R 200 0 513\\n'\nexec /usr/bin/head -c 513 /dev/zero\n"},
        {"more after the answer", "printf 'R 200 0 1\\nxy'\n"},
        {"hangs", "exec /bin/sleep 60\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.script.isEmpty()) installHelper(c.script);
        const Result<HttpResponse> response = client().get(kUrl);
        ASSERT_FALSE(response.has_value());
        const QString& reason = response.error().detail;
        EXPECT_TRUE(reason.startsWith(kHelper)) << reason.toStdString();
    }
}

// Whether pid is still a child of this process, running or a zombie.
bool isOurChild(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray text = stat.readAll();
    // "pid (name) state ppid ...", where the name may hold anything but a last ')'.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 1 && fields[1].toInt() == getpid();
}

bool endsWithin10s(pid_t pid) {
    const QDeadlineTimer deadline(10'000);
    while (isOurChild(pid) && !deadline.hasExpired()) QThread::msleep(5);
    return !isOurChild(pid);
}

// The answer is taken as soon as it is whole; a helper that stays on after it, or never answers,
// or is never sent a request, ends all the same and leaves no zombie behind.
TEST_F(HelperHttpTest, HelperEndsAndIsReapedWhateverItDoes) {
    installHelper("printf 'R 200 0 2\\nok'\n");
    EXPECT_EQ(client().get(kUrl).value().body, "ok");
    EXPECT_TRUE(endsWithin10s(helperPid()));

    installHelper("printf 'R 200 0 2\\nok'\nexec /bin/sleep 60\n");
    const Result<HttpResponse> stays = client().get(kUrl);
    ASSERT_TRUE(stays.has_value()) << stays.error().detail.toStdString();
    EXPECT_EQ(stays.value().body, "ok");
    EXPECT_TRUE(endsWithin10s(helperPid()));

    installHelper("exec /bin/sleep 60\n");
    EXPECT_FALSE(client().get(kUrl).has_value());
    EXPECT_TRUE(endsWithin10s(helperPid()));

    QFile::remove(stubs.home() + QStringLiteral("/pid"));
    {
        HelperHttpClient unused = client();
        unused.startAhead();
        helperPid();  // started for sure
    }
    EXPECT_TRUE(endsWithin10s(helperPid()));
}

TEST_F(HelperHttpTest, DownloadReportsProgressUntilTheHelperFails) {
    const QByteArray scripts[] = {
        "printf 'P 10 100\\nP 50 100\\n'\nkill -9 $$\n",
        "printf 'P 10 100\\nP 50 100\\n'\nexec /bin/sleep 60\n",  // silent longer than allowed
    };
    for (const QByteArray& script : scripts) {
        SCOPED_TRACE(script.constData());
        installHelper(script);
        qint64 lastReceived = -1;
        const Result<HttpResponse> response = client().download(kUrl, [&](qint64 received, qint64) {
            lastReceived = received;
            return true;
        });
        ASSERT_FALSE(response.has_value());
        EXPECT_EQ(lastReceived, 50);
        EXPECT_FALSE(response.error().detail.isEmpty());
    }
}

// A download the caller gives up (the user closed the download window) ends with its helper.
TEST_F(HelperHttpTest, DownloadStopsWhenProgressSaysSo) {
    installHelper("printf 'P 10 100\\n'\nexec /bin/sleep 60\n");
    std::vector<qint64> seen;
    const Result<HttpResponse> response = client().download(kUrl, [&](qint64 received, qint64) {
        seen.push_back(received);
        return false;
    });
    ASSERT_FALSE(response.has_value());
    EXPECT_TRUE(response.error().detail.contains(QStringLiteral("abandoned")))
        << response.error().detail.toStdString();
    EXPECT_EQ(seen, std::vector<qint64>{10});
    EXPECT_TRUE(endsWithin10s(helperPid()));
}

}  // namespace
