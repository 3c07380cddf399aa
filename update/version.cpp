#include "update/version.h"

namespace velandri {

namespace {

const QString kIdentifier = QStringLiteral("velandri");
const QString kCellOpen = QStringLiteral("<td width=\"610\">");
const QString kCellClose = QStringLiteral("</td>");
constexpr qsizetype kRowWindow = 60;

// Whether marker occurs in row at 0-based position i, entirely inside row.
bool markerAt(const QString& row, qsizetype i, const QString& marker) {
    return QStringView(row).mid(i).startsWith(marker);
}

}  // namespace

std::optional<QString> parseVersionPage(const QString& page) {
    const qsizetype start = page.indexOf(kIdentifier);
    if (start < 0) return std::nullopt;
    const QString row = page.mid(start, kRowWindow);

    // The first opening marker counts; the version runs to the first closing marker after it.
    qsizetype open = -1;
    for (qsizetype i = 0; i < kRowWindow - 1; ++i) {
        if (open >= 0 && markerAt(row, i, kCellClose)) {
            const qsizetype first = open + kCellOpen.size();
            return row.mid(first, i - first);
        }
        if (open < 0 && markerAt(row, i, kCellOpen)) open = i;
    }
    return std::nullopt;
}

bool isNewerVersion(const QString& own, const QString& latest) {
    return !latest.isEmpty() && QString::compare(own, latest, Qt::CaseSensitive) < 0;
}

}  // namespace velandri
