#include "store/text.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>

namespace {

constexpr QChar kSpace = u' ';
constexpr QChar kIdeographicSpace = u'\u3000';

bool isTrimmed(QChar c) { return c == kSpace || c == kIdeographicSpace; }

icu::Transliterator* fullWidthTransliterator() {
    static const std::unique_ptr<icu::Transliterator> instance = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> t(
            icu::Transliterator::createInstance("Halfwidth-Fullwidth", UTRANS_FORWARD, status));
        return U_SUCCESS(status) ? std::move(t) : nullptr;
    }();
    return instance.get();
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

bool isBlank(const QString& text) { return trimmedView(text).isEmpty(); }

QString wide(const QString& text) {
    icu::Transliterator* transliterator = fullWidthTransliterator();
    if (transliterator == nullptr) return text;
    icu::UnicodeString folded(reinterpret_cast<const UChar*>(text.utf16()),
                              static_cast<int32_t>(text.size()));
    transliterator->transliterate(folded);
    return QString(reinterpret_cast<const QChar*>(folded.getBuffer()), folded.length());
}
