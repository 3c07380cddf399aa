#include "store/data_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "fakes/log_capture.h"
#include "store/cp932.h"
#include "store/store_checks.h"
#include "store/store_file.h"
#include "store/store_line.h"

using namespace velandri;

namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

UrlStore storeWithPassword(const QString& password) {
    UrlStore store;
    store.password = password;
    return store;
}

mode_t statMode(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode : 0;
}
mode_t modeOf(const QString& path) { return statMode(path) & 07777; }

class UmaskScope {
public:
    explicit UmaskScope(mode_t mask) : saved_(::umask(mask)) {}
    ~UmaskScope() { ::umask(saved_); }

private:
    mode_t saved_;
};

// A data folder and a program folder inside a fresh temporary folder.
class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        paths_ = {root_.filePath(QStringLiteral("home/.local/share/Velandri")),
                  root_.filePath(QStringLiteral("program"))};
        ASSERT_TRUE(QDir().mkpath(paths_.programFolder));
    }

    QString dataFile() const { return paths_.dataFolder + QStringLiteral("/url"); }
    QString programFile(const QString& name) const { return paths_.programFolder + u'/' + name; }

    void writeStore(const QString& path, UrlStore store) {
        QDir().mkpath(QFileInfo(path).path());
        ASSERT_TRUE(writeStoreFile(path, store).has_value());
    }

    QStringList dataFolderEntries() const {
        return QDir(paths_.dataFolder)
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    }

    QTemporaryDir root_;
    DataPaths paths_;
};

TEST_F(DataFileTest, ChoosesTheDataFileThenTheProgramFileThenTheFallback) {
    UrlStore store;
    EXPECT_EQ(DataFile(paths_).loadStore(store).value(), QString());

    writeStore(programFile(QStringLiteral("url_bak")), storeWithPassword(QStringLiteral("bak")));
    LoadedFile outcome = DataFile(paths_).loadStore(store);
    EXPECT_EQ(outcome.value(), programFile(QStringLiteral("url_bak")));
    EXPECT_EQ(store.password, QStringLiteral("bak"));

    writeStore(programFile(QStringLiteral("url")), storeWithPassword(QStringLiteral("program")));
    outcome = DataFile(paths_).loadStore(store);
    EXPECT_EQ(outcome.value(), programFile(QStringLiteral("url")));
    EXPECT_EQ(store.password, QStringLiteral("program"));

    writeStore(dataFile(), storeWithPassword(QStringLiteral("data")));
    outcome = DataFile(paths_).loadStore(store);
    EXPECT_EQ(outcome.value(), dataFile());
    EXPECT_EQ(store.password, QStringLiteral("data"));
    EXPECT_TRUE(outcome.has_value());
}

TEST_F(DataFileTest, NoFileAtAllGivesACompleteEmptyStoreWithoutDamage) {
    UrlStore store = sampleStore();
    const LoadedFile outcome = DataFile(paths_).loadStore(store);
    EXPECT_TRUE(outcome.has_value());
    expectSameStore(store, asLoaded(UrlStore()));
    expectStoreInvariants(store);
}

TEST_F(DataFileTest, SaveCreatesTheFolderKeepsThePreviousFileAndLoadsBack) {
    const QString fallback = programFile(QStringLiteral("url_bak"));
    writeStore(fallback, sampleStore());
    const QByteArray fallbackBytes = readBytes(fallback);

    DataFile file(paths_);
    UrlStore store;
    EXPECT_EQ(file.loadStore(store).value(), fallback);
    store.entries[1][0][UrlField::title] = QStringLiteral("変更した題名");
    const SaveOutcome first = file.saveStore(store);
    ASSERT_TRUE(first.has_value()) << first.error().detail.toStdString();
    const QByteArray firstBytes = readBytes(dataFile());
    EXPECT_TRUE(firstBytes.endsWith("\r\n"));
    EXPECT_EQ(firstBytes.count('\n'), 1);
    EXPECT_EQ(firstBytes.count('\r'), 1);
    EXPECT_EQ(readBytes(fallback), fallbackBytes);

    UrlStore reloaded;
    EXPECT_EQ(DataFile(paths_).loadStore(reloaded).value(), dataFile());
    expectSameStore(reloaded, asLoaded(store));

    reloaded.password.clear();
    ASSERT_TRUE(DataFile(paths_).saveStore(reloaded).has_value());
    EXPECT_EQ(readBytes(dataFile() + QStringLiteral(".prev")), firstBytes);
    EXPECT_EQ(dataFolderEntries(),
              QStringList({QStringLiteral("url"), QStringLiteral("url.prev")}));
}

// The previous file is a second name where the file system allows it and a copy where it does
// not (a data file linked to another file system); either way it keeps the old content.
TEST_F(DataFileTest, PreviousFileKeepsTheOldContentWhereverTheDataFileLives) {
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/velandri-test-XXXXXX"));
    const QString sameSystem = root_.filePath(QStringLiteral("target"));
    QStringList targets = {sameSystem};
    if (elsewhere.isValid()) targets.append(elsewhere.filePath(QStringLiteral("target")));
    ASSERT_TRUE(QDir().mkpath(paths_.dataFolder));
    for (const QString& target : targets) {
        writeStore(target, storeWithPassword(QStringLiteral("old")));
        const QByteArray oldBytes = readBytes(target);
        QFile::remove(dataFile());
        QFile::remove(dataFile() + QStringLiteral(".prev"));
        ASSERT_TRUE(QFile::link(target, dataFile())) << target.toStdString();
        UrlStore store = storeWithPassword(QStringLiteral("new"));
        ASSERT_TRUE(DataFile(paths_).saveStore(store).has_value()) << target.toStdString();
        EXPECT_EQ(readBytes(dataFile() + QStringLiteral(".prev")), oldBytes)
            << target.toStdString();
        UrlStore reloaded;
        EXPECT_TRUE(DataFile(paths_).loadStore(reloaded).has_value());
        EXPECT_EQ(reloaded.password, QStringLiteral("new")) << target.toStdString();
    }
}

TEST_F(DataFileTest, DamagedDataFileIsSetAsideOnceBeforeItIsReplaced) {
    QDir().mkpath(paths_.dataFolder);
    writeBytes(dataFile(), "not a data file");
    DataFile file(paths_);
    UrlStore store;
    LogCapture log;
    const LoadedFile outcome = file.loadStore(store);
    ASSERT_FALSE(outcome.has_value());
    EXPECT_FALSE(outcome.error().detail.isEmpty());
    EXPECT_EQ(log.take(), QStringList{outcome.error().detail});
    expectStoreInvariants(store);

    ASSERT_TRUE(file.saveStore(store).has_value());
    const QStringList aside =
        QDir(paths_.dataFolder).entryList({QStringLiteral("url.damaged-*")}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readBytes(paths_.dataFolder + u'/' + aside[0]), "not a data file");
    ASSERT_TRUE(file.saveStore(store).has_value());
    EXPECT_EQ(dataFolderEntries().size(), 3);
    UrlStore reloaded;
    EXPECT_TRUE(DataFile(paths_).loadStore(reloaded).has_value());
}

TEST_F(DataFileTest, DamagedFallbackIsReportedButNeverTouched) {
    writeBytes(programFile(QStringLiteral("url_bak")), QByteArray(150, 'A'));
    DataFile file(paths_);
    UrlStore store;
    EXPECT_FALSE(file.loadStore(store).has_value());
    ASSERT_TRUE(file.saveStore(store).has_value());
    EXPECT_EQ(QDir(paths_.programFolder).entryList(QDir::Files), QStringList({"url_bak"}));
    EXPECT_EQ(dataFolderEntries(), QStringList({QStringLiteral("url")}));
}

TEST_F(DataFileTest, OnlyARegularFileOrALinkToOneIsReadOrReplaced) {
    writeStore(programFile(QStringLiteral("url_bak")), storeWithPassword(QStringLiteral("bak")));
    ASSERT_TRUE(QDir().mkpath(programFile(QStringLiteral("url"))));
    ASSERT_TRUE(QDir().mkpath(paths_.dataFolder));
    ASSERT_EQ(mkfifo(QFile::encodeName(dataFile()).constData(), 0600), 0);
    for (const char* what : {"FIFO", "folder"}) {
        SCOPED_TRACE(what);
        DataFile file(paths_);
        UrlStore store;
        alarm(10);  // the FIFO, once opened, would block for ever
        const LoadedFile outcome = file.loadStore(store);
        const SaveOutcome saved = file.saveStore(store);
        alarm(0);
        EXPECT_EQ(outcome.value(), programFile(QStringLiteral("url_bak")));
        EXPECT_EQ(store.password, QStringLiteral("bak"));
        EXPECT_FALSE(saved.has_value());
        EXPECT_TRUE(saved.error().detail.contains(dataFile()))
            << saved.error().detail.toStdString();
        EXPECT_EQ(dataFolderEntries(), QStringList({QStringLiteral("url")}));
        ASSERT_TRUE(S_ISFIFO(statMode(dataFile())) || QFile::exists(dataFile() + "/inside"));
        QFile::remove(dataFile());
        QDir().mkpath(dataFile() + QStringLiteral("/inside"));
    }

    ASSERT_TRUE(QDir(dataFile()).removeRecursively());
    const QString target = root_.filePath(QStringLiteral("elsewhere"));
    writeStore(target, storeWithPassword(QStringLiteral("linked")));
    ASSERT_TRUE(QFile::link(target, dataFile()));
    DataFile file(paths_);
    UrlStore store;
    EXPECT_EQ(file.loadStore(store).value(), dataFile());
    store.password = QStringLiteral("saved");
    ASSERT_TRUE(file.saveStore(store).has_value());
    EXPECT_EQ(QFileInfo(dataFile()).symLinkTarget(), target);
    EXPECT_EQ(DataFile(paths_).loadStore(store).value(), dataFile());
    EXPECT_EQ(store.password, QStringLiteral("saved"));
}

TEST_F(DataFileTest, AShiftedPrefixLoadsAsDesignedButIsReportedDamaged) {
    UrlStore saved = sampleStore();
    const QByteArray line = encodeLine(saved);
    QDir().mkpath(paths_.dataFolder);
    UrlStore expected;
    parseLine(line, expected);
    for (const QByteArray& stray :
         {QByteArray("\xEF\xBB\xBF"), QByteArray("\t"), QByteArray("\""), QByteArray("J")}) {
        SCOPED_TRACE(stray.toHex().toStdString());
        writeBytes(dataFile(), stray + line + "\r\n");
        UrlStore store;
        const LoadedFile outcome = DataFile(paths_).loadStore(store);
        EXPECT_FALSE(outcome.has_value());
        EXPECT_FALSE(outcome.error().detail.isEmpty());
        EXPECT_EQ(store.tabNames, expected.tabNames);
        EXPECT_EQ(store.entries[9][11], expected.entries[9][11]);
    }
}

TEST_F(DataFileTest, AFileBeyondTheSizeBoundIsDamagedAndKeptAsideWhole) {
    UrlStore saved = sampleStore();
    QByteArray content = encodeLine(saved) + "\r\n";
    content.append(kMaxDataFileSize - content.size(), ' ');
    QDir().mkpath(paths_.dataFolder);
    writeBytes(dataFile(), content);
    UrlStore store;
    EXPECT_TRUE(DataFile(paths_).loadStore(store).has_value()) << "at the bound";
    expectSameStore(store, asLoaded(sampleStore()));

    content.append('x');
    writeBytes(dataFile(), content);
    DataFile file(paths_);
    const LoadedFile outcome = file.loadStore(store);
    EXPECT_FALSE(outcome.has_value());
    EXPECT_FALSE(outcome.error().detail.isEmpty());
    expectSameStore(store, asLoaded(UrlStore()));
    ASSERT_TRUE(file.saveStore(store).has_value());
    const QStringList aside =
        QDir(paths_.dataFolder).entryList({QStringLiteral("url.damaged-*")}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(readBytes(paths_.dataFolder + u'/' + aside[0]) == content);
}

TEST_F(DataFileTest, FilesHoldingThePasswordAreOwnerOnly) {
    const UmaskScope umask(022);
    UrlStore store = sampleStore();
    ASSERT_TRUE(DataFile(paths_).saveStore(store).has_value());
    EXPECT_EQ(modeOf(paths_.dataFolder), 0700);
    EXPECT_EQ(modeOf(dataFile()), 0600);
    ASSERT_TRUE(DataFile(paths_).saveStore(store).has_value());
    EXPECT_EQ(modeOf(dataFile() + QStringLiteral(".prev")), 0600);
    EXPECT_EQ(modeOf(dataFile()), 0600);
    // A whole data file that an earlier version left readable to others.
    ASSERT_TRUE(QFile::setPermissions(dataFile(), kOwnerOnly | QFileDevice::ReadGroup |
                                                      QFileDevice::ReadOther));
    ASSERT_TRUE(DataFile(paths_).saveStore(store).has_value());
    EXPECT_EQ(modeOf(dataFile() + QStringLiteral(".prev")), 0600);

    ASSERT_TRUE(QFile::remove(dataFile()));
    writeBytes(dataFile(), "not a data file");
    ASSERT_EQ(modeOf(dataFile()), 0644);
    DataFile file(paths_);
    ASSERT_FALSE(file.loadStore(store).has_value());
    ASSERT_TRUE(file.saveStore(store).has_value());
    EXPECT_EQ(modeOf(dataFile()), 0600);
    const QStringList aside =
        QDir(paths_.dataFolder).entryList({QStringLiteral("url.damaged-*")}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(modeOf(paths_.dataFolder + u'/' + aside[0]), 0600);
}

TEST_F(DataFileTest, SaveFailsWithAReasonWhenTheFolderCannotBeCreated) {
    writeBytes(root_.filePath(QStringLiteral("home")), "a file where a folder belongs");
    UrlStore store = sampleStore();
    LogCapture log;
    const SaveOutcome outcome = DataFile(paths_).saveStore(store);
    ASSERT_FALSE(outcome.has_value());
    EXPECT_TRUE(outcome.error().detail.contains(paths_.dataFolder))
        << outcome.error().detail.toStdString();
    EXPECT_EQ(log.take(), QStringList{outcome.error().detail}) << "logged for a report as well";
}

// Caps the size of files this process writes; root is bound by it too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int);
};

TEST_F(DataFileTest, FailedSaveLeavesTheOldFileWhole) {
    writeStore(dataFile(), UrlStore());
    const QByteArray oldBytes = readBytes(dataFile());
    UrlStore big = sampleStore();
    for (auto& tab : big.entries)
        for (UrlEntry& entry : tab) entry[UrlField::url] = QString(200, u'x');
    {
        const FileSizeLimit limit(oldBytes.size() + 1000);
        const SaveOutcome outcome = DataFile(paths_).saveStore(big);
        EXPECT_FALSE(outcome.has_value());
        EXPECT_FALSE(outcome.error().detail.isEmpty());
    }
    EXPECT_EQ(readBytes(dataFile()), oldBytes);
    EXPECT_EQ(dataFolderEntries(),
              QStringList({QStringLiteral("url"), QStringLiteral("url.prev")}));

    ASSERT_TRUE(QFile::remove(dataFile() + QStringLiteral(".prev")));
    ASSERT_TRUE(QDir().mkpath(dataFile() + QStringLiteral(".prev/inside")));
    const SaveOutcome blocked = DataFile(paths_).saveStore(big);
    EXPECT_FALSE(blocked.has_value());
    EXPECT_TRUE(blocked.error().detail.contains(QStringLiteral("url.prev")))
        << blocked.error().detail.toStdString();
    EXPECT_EQ(readBytes(dataFile()), oldBytes);
}

TEST_F(DataFileTest, EveryCodePage932CharacterSurvivesASaveAndALoad) {
    QString all = QStringLiteral("<");
    for (int code = 0; code < 0x10000; ++code) {
        const QChar c = cp932Character(static_cast<uint16_t>(code));
        if (c != u'?' || code == u'?') all += c;
    }
    all += u'>';
    ASSERT_GT(all.size(), 9000);
    UrlStore store;
    store.password = all;
    store.entries[0][0] = {QString(), QStringLiteral("😀x"), QStringLiteral("u"),
                           QStringLiteral("é")};
    ASSERT_TRUE(DataFile(paths_).saveStore(store).has_value());
    UrlStore loaded;
    ASSERT_TRUE(DataFile(paths_).loadStore(loaded).has_value());
    EXPECT_TRUE(loaded.password == all);
    EXPECT_EQ(loaded.entries[0][0][UrlField::title],
              QStringLiteral("??x") + QString(12, u'\u3000'));
    EXPECT_EQ(loaded.entries[0][0][UrlField::content],
              QStringLiteral("?") + QString(14, u'\u3000'));
}

// A name the damaged copy would take may already be a link, left dangling: the copy must not
// be written to where it leads.
TEST_F(DataFileTest, TheDamagedCopyIsANewOwnerOnlyFileNeverWrittenThroughALink) {
    const UmaskScope umask(022);
    QDir().mkpath(paths_.dataFolder);
    writeBytes(dataFile(), "not a data file");
    const QString elsewhere = root_.filePath(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    // One link for each second the save may fall in.
    const QDateTime now = QDateTime::currentDateTime();
    for (int second = 0; second < 5; ++second) {
        const QString stamp = now.addSecs(second).toString(QStringLiteral("yyyyMMdd-HHmmss"));
        ASSERT_TRUE(QFile::link(elsewhere + QStringLiteral("/target-%1").arg(second),
                                dataFile() + QStringLiteral(".damaged-") + stamp));
    }
    DataFile file(paths_);
    UrlStore store;
    ASSERT_FALSE(file.loadStore(store).has_value());
    ASSERT_TRUE(file.saveStore(store).has_value());

    EXPECT_TRUE(QDir(elsewhere).isEmpty()) << "written where a link leads";
    const QStringList aside =
        QDir(paths_.dataFolder).entryList({QStringLiteral("url.damaged-*")}, QDir::Files);
    QStringList copies;
    for (const QString& name : aside)
        if (!QFileInfo(paths_.dataFolder + u'/' + name).isSymLink()) copies << name;
    ASSERT_EQ(copies.size(), 1) << aside.join(u' ').toStdString();
    const QString copy = paths_.dataFolder + u'/' + copies[0];
    EXPECT_EQ(readBytes(copy), "not a data file");
    EXPECT_EQ(modeOf(copy), 0600);
}

}  // namespace
