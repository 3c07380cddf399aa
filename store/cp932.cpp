#include "store/cp932.h"

#include <unicode/ucnv.h>

#include <array>
#include <memory>

namespace {

constexpr int kCodeCount = 0x10000;
constexpr char16_t kQuestionMark = u'?';
constexpr int16_t kQuestionMarkCode = 63;

using ConverterPtr = std::unique_ptr<UConverter, decltype(&ucnv_close)>;

// A converter that stops at an unmappable character instead of substituting "FC FC".
ConverterPtr openStrictConverter() {
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open("windows-31j", &status), &ucnv_close);
    if (U_FAILURE(status)) return ConverterPtr(nullptr, &ucnv_close);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &status);
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    return U_SUCCESS(status) ? std::move(converter) : ConverterPtr(nullptr, &ucnv_close);
}

// Below 0x80 code page 932 is plain ASCII. ICU's table rotates three control codes
// (1A, 1C, 7F) as IBM's variant does, which files written on Windows never do.
bool isAscii(int value) { return value < 0x80; }

struct Cp932Tables {
    std::array<int16_t, kCodeCount> codeOf{};
    std::array<char16_t, kCodeCount> characterOf{};
};

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

bool isSurrogate(int unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// Only round-trip mappings count: ICU also maps some private-use characters to the code of a
// different character, which would come back from the file as that other character.
int16_t roundTripCode(UConverter* converter, const Cp932Tables& tables, char16_t unit) {
    const int16_t code = encodeWith(converter, unit);
    return tables.characterOf[static_cast<uint16_t>(code)] == unit ? code : kQuestionMarkCode;
}

Cp932Tables buildTables() {
    Cp932Tables tables;
    tables.codeOf.fill(kQuestionMarkCode);
    tables.characterOf.fill(kQuestionMark);
    ConverterPtr converter = openStrictConverter();
    for (int value = 0; value < kCodeCount; ++value) {
        if (isAscii(value))
            tables.characterOf[value] = static_cast<char16_t>(value);
        else if (converter)
            tables.characterOf[value] = decodeWith(converter.get(), value);
    }
    for (int value = 0; value < kCodeCount; ++value) {
        if (isAscii(value))
            tables.codeOf[value] = static_cast<int16_t>(value);
        else if (converter && !isSurrogate(value))
            tables.codeOf[value] =
                roundTripCode(converter.get(), tables, static_cast<char16_t>(value));
    }
    return tables;
}

const Cp932Tables& tables() {
    static const Cp932Tables instance = buildTables();
    return instance;
}

}  // namespace

int16_t cp932Code(QChar c) { return tables().codeOf[c.unicode()]; }

QChar cp932Character(uint16_t code) { return QChar(tables().characterOf[code]); }
