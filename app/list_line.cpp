#include "app/list_line.h"

#include "store/text.h"

namespace {
constexpr int kNumberWidth = 3;
constexpr int kColumnWidth = 15;
}  // namespace

QString numberColumn(const QString& number) {
    if (number.isEmpty() || number.size() >= kNumberWidth) return number;
    return number.rightJustified(kNumberWidth, u' ');
}

QString textColumn(const QString& text) { return wide(text).leftJustified(kColumnWidth, u' '); }

QString listLine(const UrlEntry& entry) {
    return numberColumn(entry[UrlField::number]) + QStringLiteral(" : ") +
           textColumn(entry[UrlField::title]) + QStringLiteral("  ") +
           textColumn(entry[UrlField::content]);
}
