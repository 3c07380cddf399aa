#pragma once

#include <QString>

namespace velandri {

// What the data file can keep of a text: every character it stores by its code page 932 code
// (store/jis_fold.h); any other character is stored as "?".

// True when the data file keeps every character of the text.
bool storesWhole(QStringView text);

// The characters of the text that the data file cannot keep, each once, in order of first
// appearance; a character outside the Basic Multilingual Plane stays whole.
QString unstorableCharacters(const QString& text);

// The address with each character the data file cannot keep written in its equivalent encoded
// form: the IDNA "xn--" form for a label of the host, percent-encoded UTF-8 elsewhere. An
// address the file keeps whole is returned unchanged.
QString storableUrl(const QString& url);

}  // namespace velandri
