#include "app/logic/failure_texts.h"

#include "app/message_titles.h"

namespace velandri {

namespace {

// The words for each kind, with %1, %2 for its subjects. Kinds the windows never show (an update
// that fails goes on silently, the tools speak English) have none.
QString wordsFor(FailureKind kind) {
    switch (kind) {
        case FailureKind::dataFileUnreadable:
            return QStringLiteral("データファイル %1 を読み込めません: %2");
        case FailureKind::dataFileTooLarge:
            return QStringLiteral("データファイル %1 が大きすぎます（%2 MiB を超えています）");
        case FailureKind::dataFileFieldsMissing:
            return QStringLiteral("データファイルの項目が足りません（%1 / %2 項目）");
        case FailureKind::dataFileFieldsExtra:
            return QStringLiteral("データファイルの項目が多すぎます（%1 項目）");
        case FailureKind::dataFileSettingNotNumber:
            return QStringLiteral("データファイルの設定値が整数ではありません");
        case FailureKind::dataFileLineShifted:
            return QStringLiteral("データファイルの行頭がずれています（先頭 %1 文字が数字でない）");
        case FailureKind::storeTooLarge:
            return QStringLiteral(
                "データが大きすぎます: データファイルが %1 MiB を超えるため、"
                "読み込めるファイルになりません");
        case FailureKind::dataFolderNotMade:
            return QStringLiteral("データフォルダ %1 を作成できません");
        case FailureKind::dataFilePlaceTaken:
            return QStringLiteral(
                "データファイルの場所 %1 にファイルではないもの（フォルダなど）"
                "があるため、保存できません");
        case FailureKind::damagedFileNotKept:
            return QStringLiteral("読み込めなかったデータファイル %1 を %2 に退避できません");
        case FailureKind::previousFileNotRemoved:
            return QStringLiteral("前回のデータファイル %1 を削除できません: %2");
        case FailureKind::previousFileNotKept:
            return QStringLiteral("前回のデータファイル %1 を保存できません: %2");
        case FailureKind::dataFileNotCreated:
            return QStringLiteral("データファイル %1 を作成できません: %2");
        case FailureKind::dataFileNotWritten:
            return QStringLiteral("データファイル %1 を書き込めません: %2");
        case FailureKind::releaseNotVerified:
            return QStringLiteral(
                "更新ファイルが正規のものか確認できなかったため、インストールしませんでした。"
                "\r\n新しいバージョンはホームページから入手して下さい。");
        case FailureKind::transferFailed:
        case FailureKind::archiveNotExtracted:
        case FailureKind::signatureNotValid:
        case FailureKind::versionNotFound:
        case FailureKind::updateNotInstalled:
        case FailureKind::inputNotReadable:
            break;
    }
    return {};
}

// Puts the subjects in place of %1 to %9 in one pass, so that a "%" in a path stays as it is.
QString withSubjects(const QString& words, const QStringList& subjects) {
    QString text;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const qsizetype number = i + 1 < words.size() ? words[i + 1].digitValue() : -1;
        if (words[i] == u'%' && number >= 1 && number <= subjects.size()) {
            text += subjects[number - 1];
            ++i;
        } else {
            text += words[i];
        }
    }
    return text;
}

}  // namespace

QString failureWords(const Failure& failure) {
    return withSubjects(wordsFor(failure.kind), failure.subjects);
}

QString loadFailureNotice(const Failure& failure) {
    return QStringLiteral("データファイルを最後まで読めませんでした。\r\n") + failureWords(failure);
}

QString saveFailureNotice(const Failure& failure) {
    return QStringLiteral("データファイルを保存できませんでした。\r\n") + failureWords(failure);
}

void FailureNoticeBox::tell(FailureKind kind) {
    messages_.notice(kMessageTitle, failureWords(Failure{kind, {}, {}}));
}

}  // namespace velandri
