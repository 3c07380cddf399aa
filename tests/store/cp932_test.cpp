#include "store/cp932.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>

using namespace velandri;

namespace {

// glibc's own CP932 tables, an implementation independent of the one under test.
class GlibcCp932 {
public:
    GlibcCp932()
        : toUnicode_(iconv_open("UTF-16LE", "CP932")),
          fromUnicode_(iconv_open("CP932", "UTF-16LE")) {}
    ~GlibcCp932() {
        iconv_close(toUnicode_);
        iconv_close(fromUnicode_);
    }

    // The character of a code 0..65535, when it stands for exactly one.
    std::optional<char16_t> character(int code) {
        std::string bytes;
        if (code >= 0x100) bytes += static_cast<char>(code >> 8);
        bytes += static_cast<char>(code & 0xFF);
        const std::string out = convert(toUnicode_, bytes);
        if (out.size() != 2) return std::nullopt;
        return static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                     static_cast<unsigned char>(out[1]) << 8);
    }

    // The signed code of a character, when code page 932 has it (a best-fit substitute such
    // as FULLWIDTH CENT SIGN for CENT SIGN does not count).
    std::optional<int> code(char16_t unit) {
        const std::optional<int> found = anyCode(unit);
        if (!found || character(static_cast<uint16_t>(*found)) != unit) return std::nullopt;
        return found;
    }

private:
    std::optional<int> anyCode(char16_t unit) {
        const std::string in = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        const std::string out = convert(fromUnicode_, in);
        if (out.size() == 1) return static_cast<unsigned char>(out[0]);
        if (out.size() == 2)
            return static_cast<unsigned char>(out[0]) * 256 + static_cast<unsigned char>(out[1]) -
                   65536;
        return std::nullopt;
    }

    static std::string convert(iconv_t converter, std::string in) {
        char out[8];
        char* inPointer = in.data();
        size_t inLeft = in.size();
        char* outPointer = out;
        size_t outLeft = sizeof out;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<size_t>(-1))
            return {};
        return std::string(out, outPointer);
    }

    iconv_t toUnicode_;
    iconv_t fromUnicode_;
};

TEST(Cp932, EveryCodeDecodesAsGlibcDecodesIt) {
    GlibcCp932 glibc;
    int characters = 0;
    for (int code = 0; code < 0x10000; ++code) {
        const std::optional<char16_t> expected =
            code < 0x100 || code >= 0x8100 ? glibc.character(code) : std::nullopt;
        characters += expected.has_value();
        ASSERT_EQ(cp932Character(static_cast<uint16_t>(code)).unicode(), expected.value_or(u'?'))
            << "code " << std::hex << code;
    }
    EXPECT_GT(characters, 9000);
}

TEST(Cp932, EveryCharacterEncodesAsGlibcEncodesItWithoutBestFit) {
    GlibcCp932 glibc;
    for (int unit = 0; unit < 0x10000; ++unit) {
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            EXPECT_EQ(cp932Code(QChar(unit)), 63);
            continue;
        }
        ASSERT_EQ(cp932Code(QChar(unit)), glibc.code(static_cast<char16_t>(unit)).value_or(63))
            << "U+" << std::hex << unit;
    }
}

TEST(Cp932, WorkedCodes) {
    EXPECT_EQ(cp932Code(u'A'), 65);
    EXPECT_EQ(cp932Code(u'あ'), -32096);
    EXPECT_EQ(cp932Code(u'\u3000'), -32448);
    EXPECT_EQ(cp932Code(u'ｱ'), 0xB1);
    EXPECT_EQ(cp932Code(u'\u007F'), 0x7F);
    EXPECT_EQ(cp932Code(u'é'), 63);
    EXPECT_EQ(cp932Character(static_cast<uint16_t>(-32096)), QChar(u'あ'));
    EXPECT_EQ(cp932Character(0x4142), QChar(u'?'));
    EXPECT_EQ(cp932Character(0x81), QChar(u'?'));
}

}  // namespace
