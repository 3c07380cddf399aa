#pragma once

#include <QString>

#include "store/url_store.h"

namespace velandri {

// One line of the main window's list: the number right-aligned to 3 characters, " : ", then the
// title and the content folded to full width and padded to 15 characters, two blanks between.
QString listLine(const UrlEntry& entry);

// The number right-aligned to 3 characters; a longer or an empty text is used as it is.
QString numberColumn(const QString& number);

// The text folded to full width and padded with half-width blanks to 15 characters; a longer
// text is kept whole as far as a list line can show it.
QString textColumn(const QString& text);

}  // namespace velandri
