#include "store/text.h"

#include <algorithm>
#include <utility>

#include "store/text_tables.h"

namespace velandri {

namespace {

constexpr QChar kSpace = u' ';
constexpr QChar kIdeographicSpace = u'\u3000';

bool isTrimmed(QChar c) { return c == kSpace || c == kIdeographicSpace; }

// The folded unit of a two-unit sequence; 0 when the pair does not fold as one.
char16_t foldedPair(char16_t first, char16_t second) {
    const auto found =
        std::lower_bound(kWidePairs.begin(), kWidePairs.end(), std::pair(first, second),
                         [](const WidePair& pair, std::pair<char16_t, char16_t> key) {
                             return std::pair(pair.first, pair.second) < key;
                         });
    return found != kWidePairs.end() && found->first == first && found->second == second
               ? found->folded
               : 0;
}

char16_t foldedUnit(char16_t unit) {
    const auto found =
        std::lower_bound(kWideUnits.begin(), kWideUnits.end(), unit,
                         [](const WideUnit& entry, char16_t key) { return entry.source < key; });
    return found != kWideUnits.end() && found->source == unit ? found->folded : unit;
}

}  // namespace

QStringView trimmedView(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmed(text[begin])) ++begin;
    while (end > begin && isTrimmed(text[end - 1])) --end;
    return text.sliced(begin, end - begin);
}

QString trim(const QString& text) {
    const QStringView trimmed = trimmedView(text);
    return trimmed.size() == text.size() ? text : trimmed.toString();
}

bool isBlank(const QString& text) { return std::all_of(text.begin(), text.end(), isTrimmed); }

// The same matching as ICU's rule-based transliterator: at each position a pair rule before a
// one-unit rule, and the text after a match is never matched again.
QString wide(const QString& text) {
    QString folded(text.size(), Qt::Uninitialized);
    QChar* next = folded.data();
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t pair = i + 1 < size ? foldedPair(units[i], units[i + 1]) : 0;
        if (pair != 0) ++i;
        *next++ = QChar(pair != 0 ? pair : foldedUnit(units[i]));
    }
    folded.truncate(next - folded.data());
    return folded;
}

}  // namespace velandri
