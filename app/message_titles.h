#pragma once

#include <QString>

// Titles of the program's message boxes.
inline const QString kMessageTitle = QStringLiteral("メッセージ");
inline const QString kInquiryTitle = QStringLiteral("問い合わせ");
