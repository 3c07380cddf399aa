#pragma once

#include <QString>

namespace velandri {

// The indices of the main window's command buttons, named "Command1_<index>", and of its edit
// boxes, named "Text1_<index>".
enum Command {
    kUrlSetting = 0,
    kUp = 1,
    kDown = 2,
    kLogOff = 3,
    kSettings = 4,
    kExit = 5,
    kCommit = 6,
    kDelete = 7,
    kBack = 8,
    kCorrect = 9,
    kHomePage = 10,
};
constexpr int kCommandCount = 11;

enum EditBox { kTitleBox = 0, kUrlBox = 1, kContentBox = 2 };
constexpr int kEditBoxCount = 3;

// The main window's messages to the user.
inline const QString kTabFullNotice = QStringLiteral("30件以上は、登録できません。");
inline const QString kBlankTitleOrUrlNotice = QStringLiteral("タイトルかURLが空欄です。");
inline const QString kUrlTooLongNotice = QStringLiteral("URLが長すぎるため、登録できません。");
inline const QString kDiscardQuestion = QStringLiteral(
    "URL情報が変更されています。登録せずに終了しますか？\r\n"
    "（登録する場合は、完了ボタンを押して下さい。）");

// Names the characters of a title or content that the data file will keep as "?".
inline QString unstorableNotice(const QString& unstorable) {
    return QStringLiteral(
               "次の文字はデータファイルに保存できないため、「?」に置き換えて登録します。\r\n") +
           unstorable;
}

inline QString deleteQuestion(int row) {
    return QString::number(row + 1) + QStringLiteral("番を削除して宜しいですか？");
}

}  // namespace velandri
