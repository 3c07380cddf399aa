#include "update/site_updater.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <optional>

#include "app/logic/failure_texts.h"
#include "fakes/fake_platform.h"
#include "fakes/linux_libraries.h"
#include "fakes/log_capture.h"
#include "fakes/site_server.h"
#include "platform/linux/linux_files.h"
#include "platform/linux/linux_process.h"
#include "update/version.h"

using namespace velandri;

namespace {

const std::string kVersionPath = "/SoftVer.html";
const std::string kArchivePath = "/send/URL/Pelkamo.zip";
const std::string kSignaturePath = "/send/URL/Pelkamo.zip.minisig";
const QString kUnset = QStringLiteral("unset");
const QString kNoticeTitle = QStringLiteral("メッセージ");
const QString kUnverifiedNotice = QStringLiteral(
    "更新ファイルが正規のものか確認できなかったため、インストールしませんでした。"
    "\r\n新しいバージョンはホームページから入手して下さい。");

// Stops the download once stopAfter bytes have come, as the user's Esc would.
class RecordingProgress : public DownloadProgress {
public:
    void begin() override { log << QStringLiteral("begin"); }
    bool progress(qint64 received, qint64) override {
        lastReceived = received;
        return stopAfter < 0 || received < stopAfter;
    }
    void end() override { log << QStringLiteral("end"); }
    QStringList log;
    qint64 lastReceived = -1;
    qint64 stopAfter = -1;
};

const TestSite::Page kVersionPage{"velandri<td width=\"610\">1.7</td>", "text/html"};

// Keeps a copy of the archive as it was when extraction began.
class SnoopingZipExtractor : public ZipExtractor {
public:
    explicit SnoopingZipExtractor(ZipExtractor& real) : real(real) {}
    Result<> extract(const QString& archivePath, const QString& folder) override {
        QFile file(archivePath);
        if (file.open(QIODevice::ReadOnly)) seen = file.readAll();
        return real.extract(archivePath, folder);
    }
    ZipExtractor& real;
    QByteArray seen;
};

// An updater script that leaves a mark in the folder it runs in.
const ZipItem kUpdaterScript = fileItem("Pelkamo.exe", "#!/bin/sh\necho updated > mark\n", 0755);

class SiteUpdaterTest : public testing::TestWithParam<Libraries> {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        site.put(kVersionPath, kVersionPage);
    }

    std::unique_ptr<HttpClient> client(HttpLimits limits = {}) const {
        return makeHttpClient(GetParam(), limits);
    }
    void runCheck(QString& latest, const QString& base, long timeoutMs = 10'000) {
        HttpLimits limits;
        limits.pageTimeoutMs = timeoutMs;
        makeUpdater(*client(limits), extractor, base).checkVersion(latest);
    }
    // As the main window runs them: the update follows the check that found the version.
    static void checkThenUpdate(SiteUpdater updater) {
        QString latest;
        updater.checkVersion(latest);
        updater.subUpdate();
    }
    void runUpdate(HttpClient& http, ZipExtractor& zip) {
        checkThenUpdate(makeUpdater(http, zip, site.baseUrl()));
    }
    void runUpdate() { runUpdate(*client(), extractor); }
    // The archive with the maker's signature beside it.
    void serveArchive(const QByteArray& zip, const std::string& type = "application/zip") {
        site.put(kArchivePath, {zip, type});
        site.put(kSignaturePath, {signedBy(maker, zip), "application/octet-stream"});
    }
    bool updaterStarted() const { return !fake.process.started.empty(); }

    const SigningKey& maker = makerKey();
    QTemporaryDir root;
    QString folder = root.path() + QStringLiteral("/data/Velandri");
    TestSite site;
    FakePlatform fake;
    // The program's own notice, so that its words and their order are checked here.
    FailureNoticeBox notices{fake.messages};
    RecordingProgress progress;
    std::unique_ptr<ZipExtractor> ownedExtractor = makeZipExtractor(GetParam());
    ZipExtractor& extractor = *ownedExtractor;
    std::unique_ptr<SignatureVerifier> ownedVerifier =
        makeSignatureVerifier(GetParam(), maker.publicKey);
    SignatureVerifier& verifier = *ownedVerifier;

    SiteUpdater makeUpdater(HttpClient& http, ZipExtractor& zip, const QString& base) {
        return makeUpdater(http, zip, verifier, fake.process, base);
    }
    SiteUpdater makeUpdater(HttpClient& http, ZipExtractor& zip, SignatureVerifier& signatures,
                            ProcessStarter& process, const QString& base) {
        const UpdatePlatform platform{http,          zip,     signatures,  fake.files,     process,
                                      fake.messages, notices, fake.events, fake.programEnd};
        return SiteUpdater(platform, DataPaths{folder, root.path()}, base, progress);
    }
};

TEST_P(SiteUpdaterTest, VersionPageRowIsRead) {
    const QString open = QStringLiteral("<td width=\"610\">");
    const auto page = [&](const QString& row) {
        return QStringLiteral("<html><table><tr><td>other</td><td>9.9</td></tr>\n<tr><td>") + row +
               QStringLiteral("</tr></table></html>");
    };
    struct Case {
        const char* name;
        QString page;
        QString expected;  // kUnset when the version stays as it was
        bool offered;
    };
    const Case cases[] = {
        {"1.7 is offered", page("velandri</td>" + open + "1.7</td>"), "1.7", true},
        {"own version", page("velandri</td>" + open + "1.6</td>"), "1.6", false},
        {"1.10 sorts first", page("velandri</td>" + open + "1.10</td>"), "1.10", false},
        {"leading blank kept", page("velandri</td>" + open + " 1.7</td>"), " 1.7", false},
        {"empty cell", page("velandri</td>" + open + "</td>"), "", false},
        {"marker beyond 60 characters",
         page("velandri</td>" + QString(40, u' ') + open + "1.7</td>"), kUnset, false},
        {"first of two opening markers", page("velandri" + open + "1.8" + open + "2.0</td>"),
         "1.8" + open + "2.0", true},
        {"no identifier", page("Velandri</td>" + open + "1.7</td>"), kUnset, false},
        {"page read as UTF-8", page("velandri" + QString(12, u'版') + open + "1.7</td>"), "1.7",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        site.put(kVersionPath, {c.page.toUtf8(), "text/html; charset=utf-8"});
        QString latest = kUnset;
        runCheck(latest, site.baseUrl());
        EXPECT_EQ(latest, c.expected);
        EXPECT_EQ(latest != kUnset && isNewerVersion(QStringLiteral("1.6"), latest), c.offered);
    }
}

TEST_P(SiteUpdaterTest, UnreachableOrSilentSiteLeavesVersionUnchanged) {
    site.put(kVersionPath, {"velandri<td width=\"610\">1.7</td>", "text/html"});
    SilentPort silent;
    const QString bases[] = {
        QStringLiteral("http://127.0.0.1:%1/").arg(closedPort()),
        QStringLiteral("http://127.0.0.1:%1/").arg(silent.port()),
        site.baseUrl() + QStringLiteral("dir"),  // no final slash: the page is not found
    };
    for (const QString& base : bases) {
        SCOPED_TRACE(base.toStdString());
        QString latest = kUnset;
        runCheck(latest, base, 1'000);
        EXPECT_EQ(latest, kUnset);
    }
    EXPECT_TRUE(silent.wasContacted());
    EXPECT_EQ(site.requestsFor("/dirSoftVer.html"), 1);
}

TEST_P(SiteUpdaterTest, AnswerNoDownloadsAndWritesNothing) {
    serveArchive(makeZip({kUpdaterScript}));
    fake.messages.setNextAnswer(false);
    runUpdate();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].title, QStringLiteral("Velandri"));
    EXPECT_EQ(
        fake.messages.shown[0].text,
        QStringLiteral("新しいバージョンのソフトが見つかりました。\r\nインストールしますか？"));
    EXPECT_TRUE(fake.messages.shown[0].question);
    EXPECT_EQ(site.requestsFor(kArchivePath), 0);
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_FALSE(updaterStarted());
    EXPECT_EQ(fake.programEnd.ended, 0);
}

TEST_P(SiteUpdaterTest, ZipArchiveIsInstalledAndUpdaterStartedFromDataFolder) {
    const QByteArray zip = makeZip({kUpdaterScript, fileItem("docs/readme.txt", "new version")});
    serveArchive(zip);
    const QString before = QDir::currentPath();
    runUpdate();                             // the data folder does not exist yet
    EXPECT_EQ(QDir::currentPath(), before);  // the fake keeps it; extraction gives it back

    EXPECT_EQ(fake.events.pendingRuns, 1);
    EXPECT_EQ(progress.log, QStringList({"begin", "end"}));
    EXPECT_EQ(progress.lastReceived, zip.size());
    EXPECT_EQ(site.requestsFor(kSignaturePath), 1);
    EXPECT_EQ(fake.messages.shown.size(), 1u);  // the question only
    // Made by the update, the data folder is its owner's only, as the data file's save makes it.
    struct stat status {};
    ASSERT_EQ(stat(QFile::encodeName(folder).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0700u);
    EXPECT_FALSE(QFileInfo::exists(folder + "/Pelkamo.zip"));
    EXPECT_EQ(readFile(folder + "/docs/readme.txt"), "new version");
    EXPECT_TRUE(QFileInfo(folder + "/Pelkamo.exe").isExecutable());
    EXPECT_EQ(fake.files.currentDirectory, folder);
    EXPECT_EQ(fake.process.allowedToRun, QStringList{folder + "/Pelkamo.exe"});
    ASSERT_EQ(fake.process.started.size(), 1u);
    EXPECT_EQ(fake.process.started[0].commandLine, QStringLiteral("Pelkamo.exe"));
    EXPECT_EQ(fake.process.started[0].style, WindowStyle::NormalFocus);
    EXPECT_EQ(fake.programEnd.ended, 1);
}

// The real starter and working directory: the extracted updater runs in the data folder,
// also when the archive was made on Windows and gives no file a permission to run.
TEST_P(SiteUpdaterTest, ExtractedUpdaterRunsInDataFolder) {
    const std::vector<ZipItem> items = {kUpdaterScript, fileItem("readme.txt", "new version")};
    const std::pair<const char*, QByteArray> archives[] = {
        {"made on Unix", makeZip(items)},
        {"made on Windows", asMadeOnWindows(makeZip(items))},
    };
    const std::unique_ptr<HttpClient> http = client();
    LinuxProcessStarter starter;
    LinuxFileSystem files;
    const UpdatePlatform real{*http,         extractor, verifier,    files,          starter,
                              fake.messages, notices,   fake.events, fake.programEnd};
    for (const auto& [name, zip] : archives) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(QDir(folder).removeRecursively());
        serveArchive(zip);
        const QString before = QDir::currentPath();
        checkThenUpdate(
            SiteUpdater(real, DataPaths{folder, root.path()}, site.baseUrl(), progress));
        EXPECT_EQ(QDir::currentPath(), QFileInfo(folder).canonicalFilePath());
        QDir::setCurrent(before);
        EXPECT_FALSE(QFileInfo(folder + "/readme.txt").isExecutable());

        // The updater runs detached; wait for its mark.
        const QDeadlineTimer patience(10'000);
        while (readFile(folder + "/mark") != "updated\n" && !patience.hasExpired())
            QThread::msleep(10);
        EXPECT_EQ(readFile(folder + "/mark"), "updated\n");
    }
    EXPECT_EQ(fake.programEnd.ended, 2);
}

// The real starter, noting what it is asked to start.
class NotingStarter : public ProcessStarter {
public:
    bool start(const QString& commandLine, WindowStyle style) override {
        started << commandLine;
        return real.start(commandLine, style);
    }
    bool allowToRun(const QString& programPath) override { return real.allowToRun(programPath); }
    LinuxProcessStarter real;
    QStringList started;
};

// The one way in for a program from the site: an archive is installed only with the maker's
// signature over exactly its bytes (which signatures are valid is the verifier's own test), and
// then its updater does not reach outside the data folder.
TEST_P(SiteUpdaterTest, OnlyTheMakersSignedArchiveIsInstalledAndItStaysInItsFolder) {
    const QByteArray zip = makeZip({kUpdaterScript});
    const QByteArray signature = signedBy(maker, zip);
    QByteArray tampered = zip;
    tampered[tampered.size() / 2] = char(tampered[tampered.size() / 2] ^ 1);
    const TestSite::Page missing{"<html>Not Found</html>", "text/html", false, {}, 0, -1, 404};
    struct Case {
        const char* name;
        TestSite::Page archive;
        TestSite::Page signature;
    };
    const Case refused[] = {
        {"unsigned", {zip, "application/zip"}, missing},
        {"tampered by one byte", {tampered, "application/zip"}, {signature, "text/plain"}},
        {"a 404 with a zip type",
         {zip, "application/zip", false, {}, 0, -1, 404},
         {signature, "text/plain"}},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        fake.messages.shown.clear();
        site.put(kArchivePath, c.archive);
        site.put(kSignaturePath, c.signature);
        runUpdate();
        EXPECT_FALSE(QFileInfo::exists(folder));  // nothing written, nothing extracted
        EXPECT_FALSE(updaterStarted());
        EXPECT_EQ(fake.programEnd.ended, 0);
        ASSERT_EQ(fake.messages.shown.size(), 2u);
        EXPECT_EQ(fake.messages.shown[1].title, kNoticeTitle);
        EXPECT_EQ(fake.messages.shown[1].text, kUnverifiedNotice);
        EXPECT_FALSE(fake.messages.shown[1].question);
    }

    // Signed, but an updater that is a chain of links to a file outside: l is the folder itself,
    // so l/l/../.. is two folders up, while its text reads as if it stayed inside.
    const QString outside = root.filePath("outside.sh");
    writeFile(outside, "#!/bin/sh\necho ran > \"" + root.filePath("ran").toUtf8() + "\"\n");
    ASSERT_TRUE(QFile::setPermissions(outside, QFile::ReadOwner | QFile::WriteOwner));
    serveArchive(makeZip({linkItem("l", "."), linkItem("Pelkamo.exe", "l/l/../../outside.sh"),
                          fileItem("readme.txt", "chain")}));
    NotingStarter starter;
    LinuxFileSystem files;
    const QString before = QDir::currentPath();
    const std::unique_ptr<HttpClient> http = client();
    const UpdatePlatform real{*http,         extractor, verifier,    files,          starter,
                              fake.messages, notices,   fake.events, fake.programEnd};
    checkThenUpdate(SiteUpdater(real, DataPaths{folder, root.path()}, site.baseUrl(), progress));
    QDir::setCurrent(before);
    EXPECT_EQ(readFile(folder + "/readme.txt"), "chain");
    EXPECT_TRUE(QFileInfo(folder + "/l").isSymLink());  // it leads inside
    EXPECT_FALSE(QFileInfo(folder + "/Pelkamo.exe").isSymLink());
    EXPECT_FALSE(QFileInfo(outside).permissions().testFlag(QFile::ExeOwner));
    EXPECT_EQ(starter.started, QStringList());
    QThread::msleep(200);
    EXPECT_FALSE(QFileInfo::exists(root.filePath("ran")));
    EXPECT_EQ(fake.programEnd.ended, 0);
}
// Every archive the maker ever signed carries a valid signature: only the trusted comment, which
// the same key signs, tells the release the page announces from an old one served again.
TEST_P(SiteUpdaterTest, OnlyTheAnnouncedReleaseIsInstalledNotAnOldOneReplayed) {
    const QByteArray zip = makeZip({kUpdaterScript});
    const auto page = [](const char* version) {
        return TestSite::Page{QByteArray("velandri<td width=\"610\">") + version + "</td>",
                              "text/html"};
    };
    struct Case {
        const char* name;
        TestSite::Page page;
        std::optional<QString> trustedComment;  // minisign's own when none
        bool installed;
    };
    const Case cases[] = {
        {"the announced release", page("1.7"), kReleaseComment, true},
        {"fields in another order, tab-separated", page("1.7"),
         QStringLiteral("file:Pelkamo.zip\tversion:1.7\ttimestamp:1700000000"), true},
        {"minisign's own comment names no version", page("1.7"), std::nullopt, false},
        {"1.0 served under a page of 9.9", page("9.9"),
         QStringLiteral("version:1.0 file:Pelkamo.zip"), false},
        {"signed as 1.8, announced 1.7", page("1.7"),
         QStringLiteral("version:1.8 file:Pelkamo.zip"), false},
        {"not newer than the running 1.6", page("1.6"),
         QStringLiteral("version:1.6 file:Pelkamo.zip"), false},
        {"another file", page("1.7"), QStringLiteral("version:1.7 file:Other.zip"), false},
        {"no file named", page("1.7"), QStringLiteral("version:1.7"), false},
        {"two versions", page("1.7"), QStringLiteral("version:1.7 version:9.9 file:Pelkamo.zip"),
         false},
        {"fields run together", page("1.7"), QStringLiteral("version:1.7file:Pelkamo.zip"), false},
        {"no version page", {"", "text/html", false, {}, 0, -1, 404}, kReleaseComment, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(QDir(folder).removeRecursively());
        fake.messages.shown.clear();
        fake.process.started.clear();
        site.put(kVersionPath, c.page);
        site.put(kArchivePath, {zip, "application/zip"});
        site.put(kSignaturePath,
                 {signedBy(maker, zip, SignatureForm::Prehashed, c.trustedComment), "text/plain"});
        runUpdate();
        EXPECT_EQ(updaterStarted(), c.installed);
        if (c.installed) continue;
        EXPECT_FALSE(QFileInfo::exists(folder + "/Pelkamo.exe"));
        ASSERT_EQ(fake.messages.shown.size(), 2u);
        EXPECT_EQ(fake.messages.shown[1].title, kNoticeTitle);
        EXPECT_EQ(fake.messages.shown[1].text, kUnverifiedNotice);
    }
    EXPECT_EQ(fake.programEnd.ended, 2);
}

TEST_P(SiteUpdaterTest, ResponseWithoutZipTypeWritesAndStartsNothing) {
    serveArchive(makeZip({kUpdaterScript}), "application/x-zip-compressed");
    runUpdate();
    EXPECT_FALSE(QFileInfo::exists(folder));

    // An archive left by an earlier update is not what this download brought: it is neither
    // installed nor kept.
    ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(folder + "/Pelkamo.zip", makeZip({kUpdaterScript}));
    runUpdate();
    EXPECT_EQ(filesIn(folder), QStringList());
    EXPECT_FALSE(updaterStarted());
    EXPECT_EQ(fake.programEnd.ended, 0);
    EXPECT_EQ(fake.messages.shown.size(), 2u);  // the two questions: not a case for the notice
}

TEST_P(SiteUpdaterTest, ShorterArchiveReplacesLongerOne) {
    ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(folder + "/Pelkamo.zip", QByteArray(200'000, 'x'));
    const QByteArray zip = makeZip({kUpdaterScript});
    serveArchive(zip);
    SnoopingZipExtractor snooping(extractor);
    runUpdate(*client(), snooping);
    EXPECT_EQ(snooping.seen, zip);
    EXPECT_TRUE(updaterStarted());
}

TEST_P(SiteUpdaterTest, OversizedBodyIsAbandoned) {
    const std::unique_ptr<HttpClient> http = client(cappedAt(1024));
    for (const bool chunked : {false, true}) {
        SCOPED_TRACE(chunked ? "sent in pieces" : "sent with its length");
        site.put(kArchivePath, {QByteArray(4096, 'z'), "application/zip", chunked});
        runUpdate(*http, extractor);
        EXPECT_FALSE(QFileInfo::exists(folder + "/Pelkamo.zip"));
        EXPECT_FALSE(updaterStarted());
    }
}

TEST_P(SiteUpdaterTest, FailedStepsEndUpdateWithoutEndingProgram) {
    checkThenUpdate(makeUpdater(*client(), extractor,
                                QStringLiteral("http://127.0.0.1:%1/").arg(closedPort())));
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_FALSE(updaterStarted());

    // An archive without the updater: the start fails and the program goes on.
    serveArchive(makeZip({fileItem("readme.txt", "no updater")}));
    fake.process.startSucceeds = false;
    runUpdate();
    EXPECT_EQ(fake.process.started.size(), 1u);
    EXPECT_EQ(readFile(folder + "/readme.txt"), "no updater");
    EXPECT_EQ(fake.programEnd.ended, 0);
}

// Neither the check nor the update tells the user why it failed: the reason goes to the log.
TEST_P(SiteUpdaterTest, FailuresAreLoggedWithTheirReason) {
    LogCapture log;
    // One logged line per failure, each holding all of its fragments.
    const auto expectLogged = [&log](const std::vector<QStringList>& expected) {
        const QStringList lines = log.take();
        ASSERT_EQ(lines.size(), qsizetype(expected.size())) << lines.join(u'\n').toStdString();
        for (size_t i = 0; i < expected.size(); ++i)
            for (const QString& fragment : expected[i])
                EXPECT_TRUE(lines[i].contains(fragment))
                    << lines[i].toStdString() << " lacks " << fragment.toStdString();
    };
    QString latest = kUnset;

    const int port = closedPort();
    runCheck(latest, QStringLiteral("http://127.0.0.1:%1/").arg(port), 1'000);
    expectLogged({{"version check failed:", QString::number(port)}});
    site.put(kVersionPath, {"<html>no version here</html>", "text/html"});
    runCheck(latest, site.baseUrl());
    expectLogged({{"version check failed:", site.baseUrl() + "SoftVer.html"}});
    site.put(kVersionPath, {"velandri<td width=\"610\">1.7</td>", "text/html"});
    runCheck(latest, site.baseUrl());
    expectLogged({});

    serveArchive(makeZip({kUpdaterScript}), "text/html");
    runUpdate();
    expectLogged({{"update failed:", site.baseUrl() + "send/URL/Pelkamo.zip"}});
    writeFile(root.path() + "/data", "a file where the data folder belongs");
    serveArchive(makeZip({kUpdaterScript}));
    runUpdate();
    expectLogged({{"update failed:", folder}});
    ASSERT_TRUE(QFile::remove(root.path() + "/data"));

    // An archive that is not verified, and one that does not extract, ends the update.
    const auto updateFromFakeSite = [this] {
        SiteUpdater updater =
            makeUpdater(fake.http, fake.zip, fake.signatures, fake.process, site.baseUrl());
        fake.http.response = HttpResponse{200, "Content-Type: text/html\r\n", kVersionPage.body};
        QString latest;
        updater.checkVersion(latest);
        fake.http.response = HttpResponse{200, "Content-Type: application/zip\r\n", "PK"};
        updater.subUpdate();
    };
    fake.signatures.result =
        Failure{FailureKind::signatureNotValid, QStringLiteral("the signature does not match")};
    updateFromFakeSite();
    expectLogged({{"update failed:", "the signature does not match"}});
    fake.signatures.result = kReleaseComment.toUtf8();
    fake.zip.result =
        Failure{FailureKind::archiveNotExtracted, QStringLiteral("truncated archive")};
    fake.messages.shown.clear();
    updateFromFakeSite();
    expectLogged({{"update failed:", "extraction failed:", "truncated archive"}});
    EXPECT_EQ(fake.messages.shown.size(), 1u) << "signed: no notice, only the log";
    EXPECT_FALSE(updaterStarted());
    EXPECT_EQ(fake.programEnd.ended, 0);
}

QByteArray incompressible(qsizetype size) {
    QByteArray bytes(size, '\0');
    QRandomGenerator generator(9);
    for (char& byte : bytes) byte = char(generator.bounded(256));
    return bytes;
}

// A slow line: the archive may take far longer than a page may, as long as it keeps coming.
TEST_P(SiteUpdaterTest, SlowArchiveIsFetchedWhileItFlowsAndGivenUpWhenItStalls) {
    // The program's rule with shorter figures: a page within 1 s, a download above 1 KiB/s.
    HttpLimits limits;
    limits.pageTimeoutMs = 1'000;
    limits.lowSpeedSeconds = 1;
    const std::unique_ptr<HttpClient> http = client(limits);
    const QByteArray zip = makeZip({kUpdaterScript, fileItem("data.bin", incompressible(16'000))});
    serveArchive(zip);
    TestSite::Page slow{zip, "application/zip", true};
    slow.pieceDelayMs = 100;  // 512 bytes each time: about 5 KiB/s, 3 s in all
    site.put(kArchivePath, slow);
    runUpdate(*http, extractor);
    EXPECT_EQ(progress.lastReceived, zip.size());
    EXPECT_TRUE(updaterStarted());
    EXPECT_EQ(fake.programEnd.ended, 1);

    // The version page keeps its own total time-out.
    TestSite::Page slowPage{"velandri<td width=\"610\">1.7</td>" + QByteArray(8'000, ' '),
                            "text/html", true};
    slowPage.pieceDelayMs = 100;
    site.put(kVersionPath, slowPage);
    QString latest = kUnset;
    makeUpdater(*http, extractor, site.baseUrl()).checkVersion(latest);
    EXPECT_EQ(latest, kUnset);

    // Given up by the low-speed rule: the download's total is the program's half hour.
    TestSite::Page stalled = slow;
    stalled.stallAfter = 1'024;
    site.put(kArchivePath, stalled);
    fake.process.started.clear();
    runUpdate(*http, extractor);
    EXPECT_FALSE(QFileInfo::exists(folder + "/Pelkamo.zip"));
    EXPECT_FALSE(updaterStarted());
    EXPECT_EQ(fake.programEnd.ended, 1);
}

// The version page is a small page: one larger than 1 MiB is refused, whatever it holds.
TEST_P(SiteUpdaterTest, VersionPageIsReadUpTo1MiB) {
    const QByteArray row = "velandri<td width=\"610\">1.7</td>";
    constexpr qsizetype kCap = 1024 * 1024;
    for (const bool chunked : {false, true}) {
        SCOPED_TRACE(chunked ? "sent in pieces" : "sent with its length");
        for (const qsizetype size : {kCap, kCap + 1}) {
            site.put(kVersionPath,
                     {row + QByteArray(size - row.size(), ' '), "text/html", chunked});
            QString latest = kUnset;
            runCheck(latest, site.baseUrl());
            EXPECT_EQ(latest, size <= kCap ? QStringLiteral("1.7") : kUnset) << size;
        }
    }
}

// The download window's close box or Esc: the download stops, nothing is kept or started, no
// notice is due, and the program goes on.
TEST_P(SiteUpdaterTest, StoppedDownloadLeavesNothingBehind) {
    const QByteArray zip = makeZip({kUpdaterScript, fileItem("data.bin", incompressible(100'000))});
    serveArchive(zip);
    TestSite::Page slow{zip, "application/zip", true};
    slow.pieceDelayMs = 20;  // 512 bytes each time: 4 s in all
    site.put(kArchivePath, slow);
    progress.stopAfter = 2'048;
    QElapsedTimer timer;
    timer.start();
    runUpdate();
    EXPECT_LT(timer.elapsed(), 3'000);
    EXPECT_GE(progress.lastReceived, 2'048);
    EXPECT_LT(progress.lastReceived, zip.size());
    EXPECT_EQ(progress.log, QStringList({"begin", "end"}));
    EXPECT_EQ(site.requestsFor(kSignaturePath), 0);
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_FALSE(updaterStarted());
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.programEnd.ended, 0);
}

INSTANTIATE_TEST_SUITE_P(Libraries, SiteUpdaterTest, kBothLibraries, librariesName);

}  // namespace
