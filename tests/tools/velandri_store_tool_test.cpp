#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "store/store_checks.h"
#include "store/store_file.h"
#include "store/store_line.h"
#include "tool_run.h"
#include "tools/store_json.h"

using namespace velandri;

namespace {

class StoreToolTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return folder_.filePath(name); }
    QTemporaryDir folder_;
};

TEST_F(StoreToolTest, HelpAndUsage) {
    const ToolRun help = runTool({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command :
         {"dump FILE", "plain FILE", "write FILE", "export-html FILE", "import-html HTML FILE"})
        EXPECT_TRUE(help.out.contains(command)) << command;
    EXPECT_EQ(runTool({}).exitCode, 1);
    EXPECT_EQ(runTool({QStringLiteral("erase"), path(QStringLiteral("x"))}).exitCode, 1);
}

TEST_F(StoreToolTest, WriteThenDumpRoundTrips) {
    const QByteArray json = QJsonDocument(storeToJson(sampleStore())).toJson();
    const QString file = path(QStringLiteral("url"));
    const ToolRun write = runTool({QStringLiteral("write"), file}, json);
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther;
    EXPECT_FALSE(QFileInfo(file).permissions() & others) << "the password is readable by others";

    const ToolRun dump = runTool({QStringLiteral("dump"), file});
    ASSERT_EQ(dump.exitCode, 0) << dump.err.toStdString();
    EXPECT_TRUE(dump.err.isEmpty());
    const Result<UrlStore> parsed = storeFromJson(dump.out);
    ASSERT_TRUE(parsed.has_value()) << parsed.error().detail.toStdString();
    const UrlStore& dumped = parsed.value();
    expectSameStore(dumped, asLoaded(sampleStore()));
    UrlStore loaded;
    EXPECT_TRUE(loadStoreFile(file, loaded).has_value());
    expectSameStore(loaded, dumped);

    const QString copy = path(QStringLiteral("copy"));
    ASSERT_EQ(runTool({QStringLiteral("write"), copy}, dump.out).exitCode, 0);
    EXPECT_EQ(runTool({QStringLiteral("dump"), copy}).out, dump.out);
    EXPECT_NE(readBytes(copy), readBytes(file));
}

TEST_F(StoreToolTest, PlainPrintsTheDecodedLine) {
    const QString file = path(QStringLiteral("url"));
    UrlStore store = sampleStore();
    ASSERT_TRUE(writeStoreFile(file, store).has_value());
    const ToolRun plain = runTool({QStringLiteral("plain"), file});
    ASSERT_EQ(plain.exitCode, 0);
    const QString text = QString::fromUtf8(plain.out);
    ASSERT_TRUE(text.endsWith(u'\n'));
    for (QChar digit : text.first(kPrefixLength)) EXPECT_TRUE(digit.isDigit());
    EXPECT_EQ(text.sliced(kPrefixLength).chopped(1), plainText(store, QString()));
}

TEST_F(StoreToolTest, MissingKeysCountAsEmpty) {
    const QString file = path(QStringLiteral("url"));
    ASSERT_EQ(runTool({QStringLiteral("write"), file},
                      R"({"logoffMinutes": -32768, "browser": 32767,
                          "entries": [[], [{"url": "https://a.jp/"}]]})")
                  .exitCode,
              0);
    UrlStore expected;
    expected.browser = 32767;
    expected.entries[1][0][UrlField::url] = QStringLiteral("https://a.jp/");
    UrlStore loaded;
    EXPECT_TRUE(loadStoreFile(file, loaded).has_value());
    expectSameStore(loaded, asLoaded(expected));
}

TEST_F(StoreToolTest, RefusesBadInputAndLeavesTheFileUntouched) {
    const QString file = path(QStringLiteral("url"));
    UrlStore store = sampleStore();
    ASSERT_TRUE(writeStoreFile(file, store).has_value());
    const QByteArray before = readBytes(file);
    const char* refused[] = {
        "",
        "{",
        "[]",
        R"({"topMost": 40000})",
        R"({"logoffMinutes": -32769})",
        R"({"topMost": 1.5})",
        R"({"topMost": "1"})",
        R"({"password": 5})",
        R"({"tabNames": "a"})",
        R"({"tabNames": ["1","2","3","4","5","6","7","8","9","10","11"]})",
        R"({"entries": [[{"title": 3}]]})",
        R"({"entries": [[{"titel": "x"}]]})",
        R"({"entries": [[], [], [], [], [], [], [], [], [], [], []]})",
        R"({"entries": [["https://a.jp/"]]})",
        R"({"colour": 1})",
    };
    for (const char* input : refused) {
        const ToolRun run = runTool({QStringLiteral("write"), file}, input);
        EXPECT_EQ(run.exitCode, 1) << input;
        EXPECT_TRUE(run.err.endsWith('\n') && run.err.count('\n') == 1) << run.err.toStdString();
        EXPECT_EQ(readBytes(file), before) << input;
    }
}

TEST_F(StoreToolTest, InputOutputFailuresExitWithTwo) {
    const QString blocker = path(QStringLiteral("file"));
    QFile(blocker).open(QIODevice::WriteOnly);
    const ToolRun write =
        runTool({QStringLiteral("write"), blocker + QStringLiteral("/url")}, "{}");
    EXPECT_EQ(write.exitCode, 2);
    EXPECT_FALSE(write.err.isEmpty());
    for (const char* command : {"dump", "plain", "export-html"})
        EXPECT_EQ(runTool({QString::fromLatin1(command), path(QStringLiteral("missing"))}).exitCode,
                  2)
            << command;

    const QString html = path(QStringLiteral("bookmarks.html"));
    writeBytes(html, R"(<DL><DT><A HREF="https://a.example/">a</A></DL>)");
    const QString importHtml = QStringLiteral("import-html");
    EXPECT_EQ(
        runTool({importHtml, path(QStringLiteral("missing.html")), path(QStringLiteral("url"))})
            .exitCode,
        2);
    EXPECT_EQ(runTool({importHtml, html, blocker + QStringLiteral("/url")}).exitCode, 2);
    EXPECT_EQ(runTool({importHtml, html, folder_.path()}).exitCode, 2) << "a folder as FILE";
}

// A FIFO that no one writes to is refused at once instead of waited on, and so is a device;
// only a bookmark file may come through a pipe, which then has no bookmarks.
TEST_F(StoreToolTest, AFifoOrADeviceIsRefusedWithoutWaiting) {
    const QString fifo = path(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString device = QStringLiteral("/dev/zero");
    for (const QString& file : {fifo, device}) {
        for (const char* command : {"dump", "plain", "export-html"}) {
            const ToolRun run = runTool({QString::fromLatin1(command), file});
            EXPECT_EQ(run.exitCode, 2) << command << " " << file.toStdString();
            EXPECT_TRUE(run.err.contains("is not a regular file")) << run.err.toStdString();
        }
    }
    const QString target = path(QStringLiteral("url"));
    const ToolRun fromFifo = runTool({QStringLiteral("import-html"), fifo, target});
    EXPECT_EQ(fromFifo.exitCode, 1);
    EXPECT_TRUE(fromFifo.err.contains("holds no bookmarks")) << fromFifo.err.toStdString();
    const ToolRun fromDevice = runTool({QStringLiteral("import-html"), device, target});
    EXPECT_EQ(fromDevice.exitCode, 2);
    EXPECT_TRUE(fromDevice.err.contains("neither a regular file nor a pipe"));
    EXPECT_FALSE(QFileInfo::exists(target));
}

// A pipe tells no size beforehand: its whole content must still be read.
TEST_F(StoreToolTest, ImportReadsBookmarksFromAPipe) {
    QByteArray html = "<DL>";
    for (int i = 0; i < 30; ++i)
        html += QStringLiteral("<DT><A HREF=\"https://a.example/%1\">bookmark %1</A>\n")
                    .arg(i)
                    .toUtf8();
    html += "</DL>";
    const QString file = path(QStringLiteral("url"));
    ASSERT_EQ(
        runTool({QStringLiteral("import-html"), QStringLiteral("/dev/stdin"), file}, html).exitCode,
        0);
    const ToolRun dump = runTool({QStringLiteral("dump"), file});
    EXPECT_TRUE(dump.out.contains("https://a.example/29")) << dump.out.toStdString();
}

TEST_F(StoreToolTest, DumpOfADamagedFileWarnsAndStillPrintsTheStore) {
    const QString file = path(QStringLiteral("url"));
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(300, 'L'));
    damaged.close();
    const ToolRun dump = runTool({QStringLiteral("dump"), file});
    EXPECT_EQ(dump.exitCode, 0);
    EXPECT_TRUE(dump.err.contains("warning"));
    const Result<UrlStore> parsed = storeFromJson(dump.out);
    ASSERT_TRUE(parsed.has_value()) << parsed.error().detail.toStdString();
    expectStoreInvariants(parsed.value());
}

TEST_F(StoreToolTest, DumpWarnsOfAFileTooLargeOrWithAShiftedPrefix) {
    UrlStore store = sampleStore();
    const QByteArray line = encodeLine(store) + "\r\n";
    const QString shifted = path(QStringLiteral("shifted"));
    const QString huge = path(QStringLiteral("huge"));
    QFile file(shifted);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBF" + line);
    file.close();
    file.setFileName(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(line);
    ASSERT_TRUE(file.resize(200 << 20));
    file.close();

    for (const QString& damaged : {shifted, huge}) {
        SCOPED_TRACE(damaged.toStdString());
        const ToolRun dump = runTool({QStringLiteral("dump"), damaged});
        EXPECT_EQ(dump.exitCode, 0);
        EXPECT_TRUE(dump.err.startsWith("velandri-store: warning: ")) << dump.err.toStdString();
        const Result<UrlStore> parsed = storeFromJson(dump.out);
        ASSERT_TRUE(parsed.has_value()) << parsed.error().detail.toStdString();
        const UrlStore& dumped = parsed.value();
        const UrlStore expected = asLoaded(damaged == huge ? UrlStore() : sampleStore());
        EXPECT_EQ(dumped.tabNames, expected.tabNames);
        EXPECT_EQ(dumped.entries[9][11], expected.entries[9][11]);
    }
}

// The program reads no data file larger than kMaxDataFileSize: the tool neither writes one nor
// reads one for plain.
TEST_F(StoreToolTest, NoFileLargerThanTheProgramReadsIsWrittenOrRead) {
    const QString file = path(QStringLiteral("url"));
    UrlStore store = sampleStore();
    ASSERT_TRUE(writeStoreFile(file, store).has_value());
    const QByteArray before = readBytes(file);
    // Each あ is stored as seven symbols: 300 slots of 9,000 give a file of 18.9 MB.
    const QString text(3000, QChar(0x3042));
    QJsonObject slot{{"title", text}, {"url", text}, {"content", text}};
    QJsonArray tab;
    for (int i = 0; i < kSlotCount; ++i) tab.append(slot);
    QJsonArray entries;
    for (int i = 0; i < kTabCount; ++i) entries.append(tab);
    const QByteArray json = QJsonDocument(QJsonObject{{"entries", entries}}).toJson();

    const ToolRun write = runTool({QStringLiteral("write"), file}, json);
    EXPECT_EQ(write.exitCode, 1);
    EXPECT_TRUE(write.err.contains("16 MiB")) << write.err.toStdString();
    EXPECT_EQ(readBytes(file), before);

    QFile large(file);
    ASSERT_TRUE(large.resize(kMaxDataFileSize + 1));
    const ToolRun plain = runTool({QStringLiteral("plain"), file});
    EXPECT_EQ(plain.exitCode, 1);
    EXPECT_TRUE(plain.out.isEmpty());
    EXPECT_TRUE(plain.err.contains("larger than 16 MiB")) << plain.err.toStdString();
    ASSERT_TRUE(large.resize(kMaxDataFileSize));
    EXPECT_EQ(runTool({QStringLiteral("plain"), file}).exitCode, 0) << "the largest file read";
}

}  // namespace
