#include "app/logic/dropped_link.h"

#include <QMimeData>
#include <QStringDecoder>

#include "store/outside_address.h"

namespace velandri {

namespace {

// The address as the drag gave it, encoded as it came: decoding it here would turn "%20" into
// a blank that splits the browser's command line.
std::optional<QString> linkAddress(const QString& text) {
    const QString address = text.trimmed();
    if (checkOutsideAddress(address) != OutsideAddress::Accepted) return std::nullopt;
    return address;
}

std::optional<DroppedLink> linkAndTitle(const QString& text) {
    const qsizetype lineEnd = text.indexOf(u'\n');
    const std::optional<QString> url = linkAddress(text.left(lineEnd));
    if (!url) return std::nullopt;
    const QString title = lineEnd < 0 ? QString() : text.mid(lineEnd + 1).section(u'\n', 0, 0);
    return DroppedLink{*url, title.trimmed()};
}

// Firefox gives text/x-moz-url in UTF-16; what arrives without zero bytes is UTF-8.
QString mozUrlText(const QByteArray& bytes) {
    if (!bytes.contains('\0')) return QString::fromUtf8(bytes);
    QStringDecoder utf16(QStringDecoder::Utf16LE, QStringDecoder::Flag::ConvertInitialBom);
    return utf16(bytes);
}

// The first address of the list that is a link; lines starting with "#" are comments.
std::optional<DroppedLink> fromUriList(const QByteArray& list) {
    for (const QByteArray& line : list.split('\n')) {
        if (line.startsWith('#')) continue;
        if (const std::optional<QString> address = linkAddress(QString::fromUtf8(line)))
            return DroppedLink{*address, {}};
    }
    return std::nullopt;
}

}  // namespace

std::optional<DroppedLink> droppedLink(const QMimeData& data) {
    const QString netscape = QStringLiteral("_NETSCAPE_URL");
    if (data.hasFormat(netscape)) {
        if (auto link = linkAndTitle(QString::fromUtf8(data.data(netscape)))) return link;
    }
    const QString moz = QStringLiteral("text/x-moz-url");
    if (data.hasFormat(moz)) {
        if (auto link = linkAndTitle(mozUrlText(data.data(moz)))) return link;
    }
    const QString uriList = QStringLiteral("text/uri-list");
    if (data.hasFormat(uriList)) {
        if (auto link = fromUriList(data.data(uriList))) return link;
    }
    if (data.hasText()) {
        if (const std::optional<QString> address = linkAddress(data.text()))
            return DroppedLink{*address, {}};
    }
    return std::nullopt;
}

}  // namespace velandri
