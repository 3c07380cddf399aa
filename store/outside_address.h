#pragma once

#include <QString>

namespace velandri {

// An address that comes from outside the program (a dropped link, a bookmark file) rather than
// from the user's typing. It is launched as stored, appended to a browser's command line that
// is split at blanks, so it must not carry anything a browser could take as an option.
enum class OutsideAddress {
    Accepted,
    NotWeb,         // not an http or https address with a host
    CouldBeOption,  // a blank or a control character, also once decoded, or a leading "-"
};

// The one rule for every address from outside, checked on the text exactly as it is kept: as it
// came, never decoded.
OutsideAddress checkOutsideAddress(const QString& text);

}  // namespace velandri
