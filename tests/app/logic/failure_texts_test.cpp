#include "app/logic/failure_texts.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "fakes/fake_platform.h"
#include "store/data_file.h"
#include "store/store_file.h"
#include "store/store_line.h"

using namespace velandri;

namespace {

struct Row {
    const char* name;
    Failure failure;
    QString words;
};

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

Failure loadFailure(const QString& path) {
    UrlStore store;
    return loadStoreFile(path, store).error();
}

Failure saveFailure(const QString& dataFolder) {
    UrlStore store;
    return DataFile(DataPaths{dataFolder, dataFolder}).saveStore(store).error();
}

// Failures the store really gives, with the words the windows show for them. The folder's name
// holds "%1" and "%2", which must stay as they are in the words.
TEST(FailureTexts, TheWordsNameTheFailuresSubjectsInPlace) {
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("a%2b%1"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/url")));
    const QString huge = folder + QStringLiteral("/huge");
    writeBytes(huge, QByteArray(kMaxDataFileSize + 1, '1'));
    const QString shifted = folder + QStringLiteral("/shifted");
    UrlStore sample;
    writeBytes(shifted, "J" + encodeLine(sample));
    const QString blocked = root.filePath(QStringLiteral("file"));
    writeBytes(blocked, "x");
    UrlStore cut;
    const LineReadout few = parseLine(QByteArrayView("12345"), cut);

    const Row rows[] = {
        {"fields missing", few.whole.error(),
         QStringLiteral("データファイルの項目が足りません（%1 / 1215 項目）").arg(few.fieldCount)},
        {"line shifted", loadFailure(shifted),
         QStringLiteral("データファイルの行頭がずれています（先頭 100 文字が数字でない）")},
        {"file too large", loadFailure(huge),
         QStringLiteral("データファイル ") + huge +
             QStringLiteral(" が大きすぎます（16 MiB を超えています）")},
        {"not a file at the data file's place", saveFailure(folder),
         QStringLiteral("データファイルの場所 ") + folder +
             QStringLiteral(
                 "/url にファイルではないもの（フォルダなど）があるため、保存できません")},
        {"data folder not made", saveFailure(blocked + QStringLiteral("/Velandri")),
         QStringLiteral("データフォルダ ") + blocked +
             QStringLiteral("/Velandri を作成できません")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(failureWords(row.failure), row.words);
        EXPECT_FALSE(row.failure.detail.isEmpty());
    }
}

TEST(FailureTexts, TheNoticeBoxTellsTheKindsWordsUnderTheMessageTitle) {
    ScriptedMessageBox messages;
    FailureNoticeBox(messages).tell(FailureKind::releaseNotVerified);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("メッセージ"));
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral(
                  "更新ファイルが正規のものか確認できなかったため、インストールしませんでした。"
                  "\r\n新しいバージョンはホームページから入手して下さい。"));
    EXPECT_FALSE(messages.shown[0].question);
}

}  // namespace
