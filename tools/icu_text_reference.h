#pragma once

#include <unicode/ucnv.h>
#include <unicode/uversion.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

U_NAMESPACE_BEGIN
class Transliterator;
U_NAMESPACE_END

namespace velandri {

// Code page 932 and the full-width folding as ICU computes them. The build generates the
// program's constant tables from this (velandri-make-text-tables), and the tests compare those
// tables with it, so ICU stays the source of truth without being loaded by the program.
class IcuTextReference {
public:
    IcuTextReference();
    ~IcuTextReference();

    // False when ICU lacks the code page 932 converter or the width transliterator.
    bool valid() const;

    // The signed data-file code of a UTF-16 unit, as store/cp932.h describes it; 63 ("?") when
    // code page 932 has no form for it that reads back as the same character.
    int16_t cp932Code(char16_t unit) const;
    // The character of a code 0 to 65535; "?" when it stands for no single character.
    char16_t cp932Character(uint16_t code) const;

    // ICU's Halfwidth-Fullwidth transliteration of a text.
    std::u16string wide(std::u16string_view text) const;
    // Every unit of the basic plane that the folding may match, in ascending order.
    std::u16string wideSources() const;

private:
    std::unique_ptr<UConverter, void (*)(UConverter*)> converter_;
    std::unique_ptr<icu::Transliterator> transliterator_;
};

}  // namespace velandri
