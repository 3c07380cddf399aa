#include "app/logic/dropped_link.h"

#include <gtest/gtest.h>

#include <QMimeData>
#include <QUrl>
#include <memory>

#include "fakes/qt_printers.h"

using namespace velandri;

namespace {

// The formats in which browsers carry a dragged link, each with the address and a title.
enum class Carrier { UriList, NetscapeUrl, MozUrlUtf8, MozUrlUtf16, PlainText };

std::unique_ptr<QMimeData> dragOf(Carrier carrier, const QString& address) {
    auto data = std::make_unique<QMimeData>();
    const QString withTitle = address + QStringLiteral("\nタイトル");
    switch (carrier) {
        case Carrier::UriList:
            data->setData(QStringLiteral("text/uri-list"),
                          QStringLiteral("# a comment\r\n%1\r\n").arg(address).toUtf8());
            break;
        case Carrier::NetscapeUrl:
            data->setData(QStringLiteral("_NETSCAPE_URL"), withTitle.toUtf8());
            break;
        case Carrier::MozUrlUtf8:
            data->setData(QStringLiteral("text/x-moz-url"), withTitle.toUtf8());
            break;
        case Carrier::MozUrlUtf16:
            data->setData(
                QStringLiteral("text/x-moz-url"),
                QByteArray(reinterpret_cast<const char*>(withTitle.utf16()), withTitle.size() * 2));
            break;
        case Carrier::PlainText:
            data->setText(address);
            break;
    }
    return data;
}

const std::pair<const char*, Carrier> kCarriers[] = {
    {"uri-list", Carrier::UriList},     {"netscape", Carrier::NetscapeUrl},
    {"moz utf-8", Carrier::MozUrlUtf8}, {"moz utf-16", Carrier::MozUrlUtf16},
    {"text", Carrier::PlainText},
};

// Whether each address is taken in from outside.
const std::pair<const char*, bool> kAddresses[] = {
    {"http://example.com/a%2Fb?q=1#top", true},
    {"HTTPS://example.com/%E6%9D%B1%E4%BA%AC", true},
    {"https://ja.wikipedia.org/wiki/東京", true},
    {"http://example.com/%20--new-instance%20-P%20attacker", false},
    {"http://example.com/?q=%20-P", false},
    {"http://example.com/#%20-P", false},
    {"http://a%20-P@example.com/", false},
    {"http://example.com/%09x", false},
    {"http://example.com/%0Ax", false},
    {"http://example.com/%E3%80%80x", false},  // an ideographic space, decoded
    {"javascript://example.com/%0Aalert(1)", false},
    {"javascript://example.com/alert(1)", false},
    {"file:///etc/passwd", false},
    {"smb://host/share", false},
    {"steam://run/1", false},
    {"ms-settings:display", false},
    {"ftp://example.com/", false},
    {"http:///no-host", false},
    {"-http://example.com/", false},
};

// Only a web address comes in from outside, as it came, and none that a browser could take
// as options: every carrier of a drag gives the same answer.
TEST(DroppedLink, OnlyAWebAddressFromOutside) {
    for (const auto& [carrierName, carrier] : kCarriers) {
        for (const auto& [utf8, taken] : kAddresses) {
            SCOPED_TRACE(std::string(carrierName) + ": " + utf8);
            const QString address = QString::fromUtf8(utf8);
            const std::unique_ptr<QMimeData> drag = dragOf(carrier, address);
            const std::optional<DroppedLink> link = droppedLink(*drag);
            EXPECT_EQ(link.has_value(), taken);
            if (!link) continue;
            // QMimeData holds a URI list as URLs and gives them back in their encoded form.
            const QString given = carrier == Carrier::UriList
                                      ? QString::fromLatin1(QUrl(address).toEncoded())
                                      : address;
            EXPECT_EQ(link->url, given);
            const bool titled = carrier != Carrier::UriList && carrier != Carrier::PlainText;
            EXPECT_EQ(link->title, titled ? QStringLiteral("タイトル") : QString());
        }
    }
}

}  // namespace
