// The tables generated at build time against ICU itself, loaded here as the program no longer
// loads it.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "store/cp932.h"
#include "store/text.h"
#include "tools/icu_text_reference.h"

using namespace velandri;

namespace {

std::u16string programWide(const std::u16string& text) {
    const QString folded = wide(
        QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size())));
    return std::u16string(reinterpret_cast<const char16_t*>(folded.utf16()),
                          static_cast<std::size_t>(folded.size()));
}

// Texts of up to eight units drawn from the units the folding matches, a voiced mark after
// a letter that takes none, and the halves of a surrogate pair, which pass untouched.
std::u16string randomText(std::mt19937& generator, const std::u16string& sources) {
    const std::u16string extras = u"ア漢😀\uFF9E\uFF9F";
    std::uniform_int_distribution<std::size_t> length(0, 8);
    std::uniform_int_distribution<std::size_t> pick(0, sources.size() + extras.size() - 1);
    std::u16string text;
    for (std::size_t n = length(generator); n > 0; --n) {
        const std::size_t i = pick(generator);
        text += i < sources.size() ? sources[i] : extras[i - sources.size()];
    }
    return text;
}

TEST(GeneratedTables, MatchIcu) {
    const IcuTextReference icu;
    ASSERT_TRUE(icu.valid());

    for (int value = 0; value < 0x10000; ++value) {
        const auto unit = static_cast<char16_t>(value);
        ASSERT_EQ(cp932Code(QChar(unit)), icu.cp932Code(unit)) << "U+" << std::hex << value;
        ASSERT_EQ(cp932Character(static_cast<uint16_t>(value)).unicode(),
                  icu.cp932Character(static_cast<uint16_t>(value)))
            << "code " << std::hex << value;
        ASSERT_EQ(programWide(std::u16string(1, unit)), icu.wide(std::u16string(1, unit)))
            << "U+" << std::hex << value;
    }

    const std::u16string sources = icu.wideSources();
    ASSERT_GT(sources.size(), 200u);
    for (char16_t first : sources)
        for (char16_t second : sources) {
            const std::u16string pair = {first, second};
            ASSERT_EQ(programWide(pair), icu.wide(pair))
                << "U+" << std::hex << int(first) << " U+" << int(second);
        }

    std::mt19937 generator(11);
    for (int i = 0; i < 20000; ++i) {
        const std::u16string text = randomText(generator, sources);
        ASSERT_EQ(programWide(text), icu.wide(text)) << "text number " << i;
    }
}

}  // namespace
