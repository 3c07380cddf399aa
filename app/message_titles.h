#pragma once

#include <QString>

namespace velandri {

// Titles of the program's message boxes.
inline const QString kMessageTitle = QStringLiteral("メッセージ");
inline const QString kInquiryTitle = QStringLiteral("問い合わせ");

}  // namespace velandri
