#include <gtest/gtest.h>

#include <QLocalServer>
#include <QTemporaryDir>
#include <random>

#include "platform/running_copy.h"
#include "store/store_checks.h"
#include "store/store_file.h"
#include "tool_run.h"

using namespace velandri;

namespace {

UrlEntry entry(const QString& title, const QString& url, const QString& content = {}) {
    return {QString(), title, url, content};
}

// Escaping, blanks inside a title, an unnamed tab with entries, a named empty tab, a gap
// and a full tab.
UrlStore exchangeStore() {
    UrlStore store;
    store.tabNames[0] = QStringLiteral("仕事 & <研究>");
    store.entries[0][0] =
        entry(QStringLiteral("A <&> \"B\""), QStringLiteral("https://a.example/?x=1&y=\"2\""),
              QStringLiteral("説明 'です'"));
    store.entries[0][1] =
        entry(QStringLiteral("題名　中に空白"), QStringLiteral("https://b.example/"));
    store.entries[0][2] = entry(QStringLiteral("十五文字を超える長いタイトルです"),
                                QStringLiteral("https://c.example/"), QStringLiteral("内容"));
    store.entries[1][0] =
        entry(QStringLiteral("名前なしのタブ"), QStringLiteral("https://d.example/"));
    store.tabNames[2] = QStringLiteral("空のタブ");
    store.tabNames[4] = QStringLiteral("満杯");
    for (int slot = 0; slot < kSlotCount; ++slot)
        store.entries[4][slot] = entry(QStringLiteral("項目%1").arg(slot),
                                       QStringLiteral("https://full.example/%1").arg(slot),
                                       QStringLiteral("c%1").arg(slot));
    return store;
}

// As a browser writes it: attributes, references, descriptions, links a browser alone runs.
const char kBrowserFile[] = R"html(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<!-- This is an automatically generated file.
     It will be read and overwritten.
     DO NOT EDIT! -->
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
<TITLE>Bookmarks</TITLE>
<H1>ブックマークメニュー</H1>

<DL><p>
    <DT><H3 ADD_DATE="1700000000" LAST_MODIFIED="1700000001" PERSONAL_TOOLBAR_FOLDER="true">ブックマークツールバー</H3>
    <DD>ツールバーに表示
    <DL><p>
        <DT><A HREF="https://www.example.jp/?a=1&amp;b=2" ADD_DATE="1700000002" ICON_URI="https://www.example.jp/favicon.ico" ICON="data:image/png;base64,iVBORw0KGgo=">例 &amp; サンプル &#x3042;&#12356;</A>
        <DD>説明 &lt;タグ&gt; &quot;引用&quot;
        <DT><A HREF="javascript:void(window.open('https://x.example/'))" ADD_DATE="1700000004">ブックマークレット</A>
        <DT><H3 ADD_DATE="1700000005">開発</H3>
        <DL><p>
            <DT><A HREF="https://dev.example.jp/docs" ADD_DATE="1700000006">
                ドキュメント
            </A>
            <DT><H3>深い階層</H3>
            <DL><p>
                <DT><A HREF="https://deep.example.jp/">深い</A>
                <DD>  前後の空白&#x3000;
            </DL><p>
            <DT><A HREF="https://dev.example.jp/api">API</A>
        </DL><p>
    </DL><p>
    <DT><A HREF="https://menu.example.jp/" ADD_DATE="1700000007">メニュー直下</A>
    <DT><A HREF="place:parent=toolbar_____&amp;sort=12">最近のタグ</A>
    <HR>
    <DT><H3 ADD_DATE="1700000009" UNFILED_BOOKMARKS_FOLDER="true">他のブックマーク</H3>
    <DL><p>
    </DL><p>
</DL>
)html";

class BookmarkHtmlTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return folder_.filePath(name); }

    QString writeStore(const QString& name, UrlStore store) const {
        const QString file = path(name);
        EXPECT_TRUE(writeStoreFile(file, store).has_value());
        return file;
    }

    QString writeHtml(const QByteArray& html) const {
        const QString file = path(QStringLiteral("bookmarks.html"));
        writeBytes(file, html);
        return file;
    }

    static UrlStore load(const QString& file) {
        UrlStore store;
        EXPECT_TRUE(loadStoreFile(file, store).has_value()) << file.toStdString();
        return store;
    }

    static ToolRun import(const QString& html, const QString& file) {
        return runTool({QStringLiteral("import-html"), html, file});
    }

    QTemporaryDir folder_;
};

TEST_F(BookmarkHtmlTest, ExportThenImportIntoANewFileGivesTheSameBookmarksAndTabs) {
    const ToolRun exported = runTool(
        {QStringLiteral("export-html"), writeStore(QStringLiteral("source"), exchangeStore())});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    const QString html = QString::fromUtf8(exported.out);
    EXPECT_TRUE(html.startsWith(QStringLiteral("<!DOCTYPE NETSCAPE-Bookmark-file-1>")));
    EXPECT_TRUE(html.contains(
        QStringLiteral("<DT><A HREF=\"https://a.example/?x=1&amp;y=&quot;2&quot;\">A &lt;&amp;&gt; "
                       "&quot;B&quot;</A>\n        <DD>説明 'です'\n")));
    EXPECT_TRUE(html.contains(QStringLiteral("<H3>仕事 &amp; &lt;研究&gt;</H3>")));
    EXPECT_FALSE(html.contains(QStringLiteral("\u3000<")) ||
                 html.contains(QStringLiteral("\u3000\n")))
        << "the store's filling reached the file";
    EXPECT_EQ(html.count(QStringLiteral("<H3>")), 4) << "only tabs with a name or entries";
    EXPECT_EQ(html.count(QStringLiteral("<DD>")), 32) << "only contents that are not empty";

    QTemporaryDir otherFolder;
    const QString target = otherFolder.filePath(QStringLiteral("url"));
    const QString htmlFile = writeHtml(exported.out);
    const ToolRun imported = import(htmlFile, target);
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.err.isEmpty());

    UrlStore expected = exchangeStore();
    // The tab with neither a name nor entries is not exported; the named empty tab is, but a
    // folder without links takes no tab.
    expected.tabNames[2] = expected.tabNames[4];
    expected.entries[2] = expected.entries[4];
    expected.tabNames[4].clear();
    expected.entries[4] = {};
    expectSameStore(load(target), asLoaded(expected));

    // A second import changes nothing, so the file is not rewritten.
    const QByteArray first = readBytes(target);
    ASSERT_EQ(import(htmlFile, target).exitCode, 0);
    EXPECT_EQ(readBytes(target), first);
}

// The file keeps 〜 as ～, as the program saves it; a second import finds the tab and the link.
TEST_F(BookmarkHtmlTest, ASecondImportOfJapanesePunctuationChangesNothing) {
    const QString html = writeHtml(
        "<DL><DT><H3>10時〜18時</H3><DL><DT><A HREF=\"https://a.example/〜x\">a</A></DL></DL>");
    const QString target = path(QStringLiteral("url"));
    ASSERT_EQ(import(html, target).exitCode, 0);
    const UrlStore imported = load(target);
    EXPECT_EQ(imported.tabNames[0], QStringLiteral("10時～18時"));
    EXPECT_EQ(imported.entries[0][0][UrlField::url], QStringLiteral("https://a.example/～x"));
    const QByteArray first = readBytes(target);
    ASSERT_EQ(import(html, target).exitCode, 0);
    EXPECT_EQ(readBytes(target), first);
}

TEST_F(BookmarkHtmlTest, ImportsABrowsersFileIntoTheMatchingAndTheFreeTabs) {
    UrlStore existing;
    existing.password = QStringLiteral("ひみつ");
    existing.browser = 1;
    existing.tabNames[0] = QStringLiteral("　開発 ");
    existing.entries[0][0] = entry(QStringLiteral("既存"), QStringLiteral("https://old.example/"));
    existing.entries[0][1] =
        entry(QStringLiteral("API"), QStringLiteral("https://dev.example.jp/api"));
    const QString target = writeStore(QStringLiteral("url"), existing);
    const QString html = writeHtml(kBrowserFile);
    const QByteArray original = readBytes(target);

    const ToolRun run = import(html, target);
    EXPECT_EQ(run.exitCode, 3);
    const QList<QByteArray> lines = run.err.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << run.err.toStdString();
    EXPECT_TRUE(lines[0].contains("javascript:void(window.open('https://x.example/'))") &&
                lines[0].contains("only web addresses"))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains("place:parent=toolbar_____&sort=12") &&
                lines[1].contains("only web addresses"))
        << lines[1].toStdString();

    UrlStore expected = existing;
    expected.entries[0][2] =
        entry(QStringLiteral("ドキュメント"), QStringLiteral("https://dev.example.jp/docs"));
    expected.tabNames[1] = QStringLiteral("ブックマークツールバー");
    expected.entries[1][0] = entry(QStringLiteral("例 & サンプル あい"),
                                   QStringLiteral("https://www.example.jp/?a=1&b=2"),
                                   QStringLiteral("説明 <タグ> \"引用\""));
    expected.tabNames[2] = QStringLiteral("深い階層");
    expected.entries[2][0] =
        entry(QStringLiteral("深い"), QStringLiteral("https://deep.example.jp/"),
              QStringLiteral("前後の空白"));
    expected.tabNames[3] = QStringLiteral("ブックマークメニュー");
    expected.entries[3][0] =
        entry(QStringLiteral("メニュー直下"), QStringLiteral("https://menu.example.jp/"));
    // "他のブックマーク" holds no link, so it takes no tab.
    expectSameStore(load(target), asLoaded(expected));

    EXPECT_EQ(readBytes(target + QStringLiteral(".prev")), original);

    const ToolRun again = import(html, target);
    EXPECT_EQ(again.exitCode, 3);
    EXPECT_EQ(again.err, run.err);
    expectSameStore(load(target), asLoaded(expected));
    EXPECT_EQ(readBytes(target + QStringLiteral(".prev")), original) << "nothing to write again";
}

// A NUL inside one address loses neither that link nor the ones after it; only web addresses
// come in, and an address the data file cannot hold is kept in the encoded form its save
// writes, so no character becomes "?" and no path turns into a query.
TEST_F(BookmarkHtmlTest, EveryLinkIsImportedOrListed) {
    QByteArray html = "<DL><DT><H3>f</H3><DL><DT><A HREF=\"https://a.example/x";
    html += '\0';
    html += QStringLiteral(
                "y\">nul</A>"
                "<DT><A HREF=\"https://b.example/\U0001F600\">emoji</A>"
                "<DT><A HREF=\"https://c.example/\u202Eevil\">right to left</A>"
                "<DT><A HREF=\"https://d.example/\u00ADx\">soft hyphen</A>"
                "<DT><A HREF=\"file:///etc/passwd\">file</A>"
                "<DT><A HREF=\"smb://host/share\">smb</A>"
                "<DT><A HREF=\"https://e.example/%20--new-instance\">encoded blank</A>"
                "</DL></DL>")
                .toUtf8();
    const QString target = path(QStringLiteral("url"));
    const ToolRun run = import(writeHtml(html), target);
    EXPECT_EQ(run.exitCode, 3);
    const QList<QByteArray> lines = run.err.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 4) << run.err.toStdString();
    EXPECT_TRUE(lines[0].contains("https://a.example/x\xEF\xBF\xBDy") && lines[0].contains("NUL"));
    EXPECT_TRUE(lines[1].contains("file:///etc/passwd") && lines[1].contains("only web"));
    EXPECT_TRUE(lines[2].contains("smb://host/share") && lines[2].contains("only web"));
    EXPECT_TRUE(lines[3].contains("%20--new-instance") && lines[3].contains("options"));

    UrlStore expected;
    expected.tabNames[0] = QStringLiteral("f");
    expected.entries[0][0] =
        entry(QStringLiteral("emoji"), QStringLiteral("https://b.example/%F0%9F%98%80"));
    expected.entries[0][1] =
        entry(QStringLiteral("right to left"), QStringLiteral("https://c.example/%E2%80%AEevil"));
    expected.entries[0][2] =
        entry(QStringLiteral("soft hyphen"), QStringLiteral("https://d.example/%C2%ADx"));
    expectSameStore(load(target), asLoaded(expected));
}

TEST_F(BookmarkHtmlTest, WritesWhatFitsAndReportsEachBookmarkThatDoesNot) {
    UrlStore existing;
    for (int tab = 0; tab < kTabCount - 1; ++tab) {
        existing.tabNames[tab] = QStringLiteral("タブ%1").arg(tab);
        existing.entries[tab][0] =
            entry(QStringLiteral("t"), QStringLiteral("https://t.example/%1").arg(tab));
    }
    for (int slot = 1; slot < kSlotCount - 1; ++slot)
        existing.entries[0][slot] =
            entry(QStringLiteral("s"), QStringLiteral("https://full.example/%1").arg(slot));
    const QString target = writeStore(QStringLiteral("url"), existing);
    const QString html = writeHtml(R"(<H1>Bookmarks</H1>
<DL><p>
<DT><H3>タブ0</H3><DL><p>
    <DT><A HREF="https://full.example/3">duplicate</A>
    <DT><A HREF="https://new.example/30th">30th</A>
    <DT><A HREF="https://new.example/31st">31st</A>
</DL><p>
<DT><H3>十番目</H3><DL><p><DT><A HREF="https://new.example/tenth">tenth</A></DL><p>
<DT><H3>十一番目</H3><DL><p>
    <DT><A HREF="https://new.example/eleventh-1">a</A>
    <DT><A HREF="https://new.example/eleventh-2">b</A>
</DL><p>
</DL>)");

    const ToolRun run = import(html, target);
    EXPECT_EQ(run.exitCode, 3);
    const QList<QByteArray> lines = run.err.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3) << run.err.toStdString();
    EXPECT_TRUE(lines[0].contains("https://new.example/31st") && lines[0].contains("30 entries"))
        << lines[0].toStdString();
    for (int i : {1, 2}) {
        EXPECT_TRUE(
            lines[i].contains(QStringLiteral("https://new.example/eleventh-%1").arg(i).toUtf8()) &&
            lines[i].contains("十一番目") && lines[i].contains("no tab"))
            << lines[i].toStdString();
    }

    UrlStore expected = existing;
    expected.entries[0][kSlotCount - 1] =
        entry(QStringLiteral("30th"), QStringLiteral("https://new.example/30th"));
    expected.tabNames[9] = QStringLiteral("十番目");
    expected.entries[9][0] =
        entry(QStringLiteral("tenth"), QStringLiteral("https://new.example/tenth"));
    expectSameStore(load(target), asLoaded(expected));
}

TEST_F(BookmarkHtmlTest, RefusesToWriteWhileTheProgramRunsForTheDataFolder) {
    const QString target = writeStore(QStringLiteral("url"), exchangeStore());
    const QByteArray before = readBytes(target);
    const QString html = writeHtml(kBrowserFile);

    QLocalServer program;
    program.setSocketOptions(QLocalServer::UserAccessOption);
    ASSERT_TRUE(program.listen(runningCopySocketPath(folder_.path())));
    // Another spelling of the same folder must be found too.
    const QString otherSpelling = path(QStringLiteral("sub/../url"));
    QDir(folder_.path()).mkdir(QStringLiteral("sub"));
    const ToolRun refused = import(html, otherSpelling);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("overwrite") && refused.err.contains("終了"))
        << refused.err.toStdString();
    EXPECT_EQ(readBytes(target), before);
    EXPECT_FALSE(QFile::exists(target + QStringLiteral(".prev")));

    program.close();
    EXPECT_EQ(import(html, target).exitCode, 3);
    EXPECT_NE(readBytes(target), before);
}

TEST_F(BookmarkHtmlTest, ADamagedDataFileIsKeptAsideAndAnyOtherDamagedFileRefused) {
    const QByteArray damaged(300, 'L');
    const QString html = writeHtml(kBrowserFile);
    const QString other = path(QStringLiteral("other"));
    writeBytes(other, damaged);
    EXPECT_EQ(import(html, other).exitCode, 1);
    EXPECT_EQ(readBytes(other), damaged);

    const QString target = path(QStringLiteral("url"));
    writeBytes(target, damaged);
    const ToolRun run = import(html, target);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.startsWith("velandri-store: warning:")) << run.err.toStdString();
    const QStringList aside =
        QDir(folder_.path()).entryList({QStringLiteral("url.damaged-*")}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readBytes(path(aside[0])), damaged);
    EXPECT_EQ(load(target).tabNames[0], QStringLiteral("ブックマークツールバー"));
}

// Distinct names: libxml2 compares each attribute with those before it in its element.
QByteArray attributes(int count) {
    QByteArray names;
    for (int i = 0; i < count; ++i) names += " a" + QByteArray::number(i);
    return names;
}

TEST_F(BookmarkHtmlTest, HostileFilesEndQuicklyAndLeaveTheDataFileAlone) {
    const QString target = writeStore(QStringLiteral("url"), exchangeStore());
    const QByteArray before = readBytes(target);
    const struct {
        const char* name;
        QByteArray html;
        const char* message;
    } cases[] = {
        {"deep nesting",
         QByteArray("<DL><DT><H3>x</H3>").repeated(110000) +
             "<DT><A HREF=\"https://d.example/\">d</A>",
         "nested deeper"},
        {"too large", QByteArray(32 * 1024 * 1024 + 1, ' '), "larger than"},
        {"unmatched end tags deep down",
         QByteArray("<DT>").repeated(90000) + QByteArray("</X>").repeated(100000), "markup errors"},
        {"no links", "<P>Hello</P>", "no bookmarks"},
        {"an element with 200,000 attributes",
         "<DL><DT><A HREF=\"https://a.example/\"" + attributes(200000) + ">a</A></DL>",
         "more than 100 attributes"},
        // A misplaced <body> is dropped without being reported, its attributes read all the same.
        {"many dropped elements of 150 attributes",
         "<html><body><DL><DT><A HREF=\"https://a.example/\">a</A></DL>" +
             ("<body" + attributes(150) + ">").repeated(5000),
         "markup errors"},
    };
    for (const auto& hostile : cases) {
        const ToolRun run = import(writeHtml(hostile.html), target);
        EXPECT_EQ(run.exitCode, 1) << hostile.name << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(hostile.message)) << hostile.name;
        EXPECT_EQ(readBytes(target), before) << hostile.name;
    }

    QByteArray garbage(1 << 20, '\0');
    std::mt19937 random(13);
    for (char& c : garbage) c = static_cast<char>(random());
    const ToolRun run = import(writeHtml(garbage), target);
    EXPECT_TRUE(run.exitCode == 1 || run.exitCode == 3) << run.exitCode;
    expectStoreInvariants(load(target));
}

// A double-click appends the address to the browser's command line, split at blanks: a shared
// file must not hand the browser options of its own.
TEST_F(BookmarkHtmlTest, AddressesABrowserWouldTakeAsOptionsAreListedNotImported) {
    const QString target = path(QStringLiteral("url"));
    const QString html = writeHtml(
        "<H1>B</H1><DL><p><DT><H3>F</H3><DL><p>\n"
        "<DT><A HREF=\"https://e.org/1 -profile /tmp/evil -new-instance\">blank</A>\n"
        "<DT><A HREF=\"--renderer-cmd-prefix=/tmp/evil\">dash</A>\n"
        "<DT><A HREF=\"https://e.org/&#x3000;--incognito\">ideographic space</A>\n"
        "<DT><A HREF=\"https://e.org/\x1b[2J\">escape</A>\n"
        "<DT><A HREF=\"https://e.org/&#x85;x\">next line</A>\n"
        "<DT><A HREF=\"https://e.org/ok-1?a=-b\">fine</A>\n"
        "</DL><p></DL>");

    const ToolRun run = import(html, target);
    EXPECT_EQ(run.exitCode, 3);
    const QList<QByteArray> lines = run.err.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 5) << run.err.toStdString();
    for (const char* shown : {"https://e.org/1 -profile /tmp/evil -new-instance",
                              "--renderer-cmd-prefix=/tmp/evil", "https://e.org/\u3000--incognito",
                              "https://e.org/\xef\xbf\xbd[2J", "https://e.org/\xef\xbf\xbdx"})
        EXPECT_TRUE(run.err.contains(QByteArray(shown) + ": the address holds a blank"))
            << shown << "\n"
            << run.err.toStdString();
    UrlStore expected;
    expected.tabNames[0] = QStringLiteral("F");
    expected.entries[0][0] =
        entry(QStringLiteral("fine"), QStringLiteral("https://e.org/ok-1?a=-b"));
    expectSameStore(load(target), asLoaded(expected));
}

}  // namespace
