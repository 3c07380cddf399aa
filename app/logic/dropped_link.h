#pragma once

#include <QString>
#include <optional>

class QMimeData;

namespace velandri {

struct DroppedLink {
    QString url;
    QString title;  // empty when the drag carries none
};

// The link a drag carries, from the formats browsers give: "_NETSCAPE_URL" and
// "text/x-moz-url" (the address, a line break and the title), "text/uri-list", or plain text
// that is one address. Only a web address that checkOutsideAddress accepts is a link, and it is
// given as the drag carried it. Nothing when the drag carries no link.
std::optional<DroppedLink> droppedLink(const QMimeData& data);

}  // namespace velandri
