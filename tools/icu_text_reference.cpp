#include "tools/icu_text_reference.h"

#include <unicode/translit.h>
#include <unicode/ucnv.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>

namespace velandri {

namespace {

constexpr int kCodeCount = 0x10000;
constexpr char16_t kQuestionMark = u'?';
constexpr int16_t kQuestionMarkCode = 63;

// A converter that stops at an unmappable character instead of substituting "FC FC".
UConverter* openStrictConverter() {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open("windows-31j", &status);
    if (U_FAILURE(status)) return nullptr;
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (U_SUCCESS(status)) return converter;
    ucnv_close(converter);
    return nullptr;
}

icu::Transliterator* openFullWidth() {
    UErrorCode status = U_ZERO_ERROR;
    icu::Transliterator* transliterator =
        icu::Transliterator::createInstance("Halfwidth-Fullwidth", UTRANS_FORWARD, status);
    if (U_SUCCESS(status)) return transliterator;
    delete transliterator;
    return nullptr;
}

// Below 0x80 code page 932 is plain ASCII. ICU's table rotates three control codes
// (1A, 1C, 7F) as IBM's variant does, which files written on Windows never do.
bool isAscii(int value) { return value < 0x80; }

bool isSurrogate(int unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

int16_t encodeWith(UConverter* converter, char16_t unit) {
    char bytes[4];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_fromUChars(converter, bytes, sizeof bytes, &unit, 1, &status);
    if (U_FAILURE(status)) return kQuestionMarkCode;
    const auto byte = [&](int i) { return static_cast<unsigned char>(bytes[i]); };
    if (length == 1) return byte(0);
    if (length == 2) return static_cast<int16_t>(byte(0) * 256 + byte(1) - kCodeCount);
    return kQuestionMarkCode;
}

char16_t decodeWith(UConverter* converter, int code) {
    const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    const bool single = code < 0x100;
    char16_t units[4];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_toUChars(converter, units, 4, single ? bytes + 1 : bytes, single ? 1 : 2, &status);
    return U_SUCCESS(status) && length == 1 ? units[0] : kQuestionMark;
}

}  // namespace

IcuTextReference::IcuTextReference()
    : converter_(openStrictConverter(), &ucnv_close), transliterator_(openFullWidth()) {}

IcuTextReference::~IcuTextReference() = default;

bool IcuTextReference::valid() const { return converter_ && transliterator_; }

char16_t IcuTextReference::cp932Character(uint16_t code) const {
    if (isAscii(code)) return static_cast<char16_t>(code);
    return decodeWith(converter_.get(), code);
}

// Only round-trip mappings count: ICU also maps some private-use characters to the code of a
// different character, which would come back from the file as that other character.
int16_t IcuTextReference::cp932Code(char16_t unit) const {
    if (isAscii(unit)) return static_cast<int16_t>(unit);
    if (isSurrogate(unit)) return kQuestionMarkCode;
    const int16_t code = encodeWith(converter_.get(), unit);
    return cp932Character(static_cast<uint16_t>(code)) == unit ? code : kQuestionMarkCode;
}

std::u16string IcuTextReference::wide(std::u16string_view text) const {
    icu::UnicodeString folded(text.data(), static_cast<int32_t>(text.size()));
    transliterator_->transliterate(folded);
    return std::u16string(folded.getBuffer(), static_cast<std::size_t>(folded.length()));
}

std::u16string IcuTextReference::wideSources() const {
    icu::UnicodeSet sources;
    transliterator_->getSourceSet(sources);
    std::u16string units;
    for (int32_t i = 0; i < sources.getRangeCount(); ++i)
        for (UChar32 c = sources.getRangeStart(i); c <= sources.getRangeEnd(i) && c < kCodeCount;
             ++c)
            units += static_cast<char16_t>(c);
    return units;
}

}  // namespace velandri
