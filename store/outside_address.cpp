#include "store/outside_address.h"

#include <QUrl>
#include <algorithm>

namespace velandri {

namespace {

bool isWebAddress(const QString& text) {
    // Tolerant: browsers keep characters such as '"' unencoded in their files.
    const QUrl url(text, QUrl::TolerantMode);
    const QString scheme = url.scheme();  // QUrl gives it in lower case
    return url.isValid() && (scheme == u"http" || scheme == u"https") && !url.host().isEmpty();
}

bool holdsBlankOrControl(QStringView text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.isSpace() || c.category() == QChar::Other_Control; });
}

// A browser may decode the address, and "%20" is a blank once it does.
bool couldBeAnOption(const QString& text) {
    const QString decoded = QUrl::fromPercentEncoding(text.toUtf8());
    return text.startsWith(u'-') || decoded.startsWith(u'-') || holdsBlankOrControl(text) ||
           holdsBlankOrControl(decoded);
}

}  // namespace

OutsideAddress checkOutsideAddress(const QString& text) {
    if (couldBeAnOption(text)) return OutsideAddress::CouldBeOption;
    if (!isWebAddress(text)) return OutsideAddress::NotWeb;
    return OutsideAddress::Accepted;
}

}  // namespace velandri
