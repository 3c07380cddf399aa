#pragma once

#include <QString>
#include <QStringView>

namespace velandri {

// Removes leading and trailing U+0020 and U+3000; other white space stays.
QString trim(const QString& text);
// The same without a copy.
QStringView trimmedView(QStringView text);

// True when the text is empty after trim().
bool isBlank(const QString& text);

// Folds half-width ASCII, the blank and half-width katakana to their full-width forms.
QString wide(const QString& text);

}  // namespace velandri
