#include "app/logic/list_line.h"

#include "store/text.h"

namespace velandri {

namespace {
constexpr int kNumberWidth = 3;
constexpr int kColumnWidth = 15;
// The list shows no more of a line than fits its width, and laying out a text of millions of
// characters (a valid data file can hold one) would keep the window away for seconds.
constexpr int kShownColumnLimit = 128;
}  // namespace

QString numberColumn(const QString& number) {
    if (number.isEmpty() || number.size() >= kNumberWidth) return number;
    return number.rightJustified(kNumberWidth, u' ');
}

QString textColumn(const QString& text) {
    return wide(text.left(kShownColumnLimit)).leftJustified(kColumnWidth, u' ');
}

QString listLine(const UrlEntry& entry) {
    return numberColumn(entry[UrlField::number]) + QStringLiteral(" : ") +
           textColumn(entry[UrlField::title]) + QStringLiteral("  ") +
           textColumn(entry[UrlField::content]);
}

}  // namespace velandri
