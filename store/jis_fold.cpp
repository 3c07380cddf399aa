#include "store/jis_fold.h"

#include <utility>

#include "store/cp932.h"

namespace velandri {

namespace {

// Each character and the code page 932 counterpart whose code it is written with.
constexpr std::pair<char16_t, char16_t> kCounterparts[] = {
    {u'\u301C', u'\uFF5E'},  // wave dash: full-width tilde
    {u'\u2016', u'\u2225'},  // double vertical line: parallel to
    {u'\u2212', u'\uFF0D'},  // minus sign: full-width hyphen-minus
    {u'\u00A2', u'\uFFE0'},  // cent sign: full-width cent sign
    {u'\u00A3', u'\uFFE1'},  // pound sign: full-width pound sign
    {u'\u00AC', u'\uFFE2'},  // not sign: full-width not sign
    {u'\u2014', u'\u2015'},  // em dash: horizontal bar
};
constexpr char16_t kLowestFolded = u'\u00A2';

// A save passes every character of the store through here: ASCII, most of it, goes straight by.
QChar counterpartOf(QChar c) {
    if (c.unicode() < kLowestFolded) return c;
    for (const auto& [from, to] : kCounterparts)
        if (c == from) return to;
    return c;
}

}  // namespace

int16_t storedCode(QChar c) { return cp932Code(counterpartOf(c)); }

QChar storedCharacter(QChar c) { return cp932Character(static_cast<uint16_t>(storedCode(c))); }

}  // namespace velandri
