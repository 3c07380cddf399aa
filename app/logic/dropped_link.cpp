#include "app/logic/dropped_link.h"

#include <QMimeData>
#include <QStringDecoder>
#include <QUrl>

namespace velandri {

namespace {

// A link names a place to open: an address with a host, or a local file. "javascript:" and
// other addresses without a place are not links.
std::optional<QString> linkAddress(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.contains(QChar(u'\n'))) return std::nullopt;
    const QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().size() < 2) return std::nullopt;
    if (url.host().isEmpty() && !url.isLocalFile()) return std::nullopt;
    return url.toString();
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

std::optional<DroppedLink> fromUriList(const QMimeData& data) {
    for (const QUrl& url : data.urls()) {
        if (const std::optional<QString> address = linkAddress(url.toString()))
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
    if (data.hasUrls()) {
        if (auto link = fromUriList(data)) return link;
    }
    if (data.hasText()) {
        if (const std::optional<QString> address = linkAddress(data.text()))
            return DroppedLink{*address, {}};
    }
    return std::nullopt;
}

}  // namespace velandri
