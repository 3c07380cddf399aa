#include "app/logic/desktop_search.h"

#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QUrl>
#include <array>

#include "store/tab_edits.h"
#include "store/text.h"

namespace velandri {

namespace {

constexpr int kKeyBytes = 32;
constexpr int kFingerprintBytes = 12;

QByteArray randomKey() {
    std::array<quint32, kKeyBytes / sizeof(quint32)> words;
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char*>(words.data()), kKeyBytes);
}

// The query the window's box would hold; empty when the caller asks too much.
QString queryOf(const QStringList& terms) {
    const QString query = terms.mid(0, kMostDesktopTerms).join(u' ');
    return query.size() > kMostDesktopQueryChars ? QString() : query;
}

QString hostOf(const QString& url) {
    const QString host = QUrl(trim(url)).host();
    return host.isEmpty() ? trim(url) : host;
}

}  // namespace

DesktopSearch::DesktopSearch(const UrlStore& store, DesktopSearchHost& host)
    : store_(store), host_(host), search_(store), key_(randomKey()) {}

QStringList DesktopSearch::find(const QStringList& terms) {
    const QString query = queryOf(terms);
    if (!host_.gateOpen() || trim(query).isEmpty()) return {};
    QStringList ids;
    for (const SearchHit& hit : search_.find(query)) ids << idOf(hit);
    return ids;
}

std::vector<DesktopResult> DesktopSearch::describe(const QStringList& ids) const {
    std::vector<DesktopResult> results;
    for (const QString& id : ids.mid(0, kMostDesktopIds)) {
        const std::optional<SearchHit> hit = resolve(id);
        if (!hit) continue;
        const UrlEntry& entry = store_.entries[hit->tab][hit->slot];
        const QString title = trim(entry[UrlField::title]);
        results.push_back({id, title.isEmpty() ? trim(entry[UrlField::url]) : title,
                           trim(store_.tabNames[hit->tab]) + QStringLiteral(" › ") +
                               hostOf(entry[UrlField::url])});
    }
    return results;
}

bool DesktopSearch::open(const QString& id) {
    const std::optional<SearchHit> hit = resolve(id);
    if (!hit) return false;
    host_.openEntry(hit->tab, hit->slot);
    return true;
}

void DesktopSearch::showAll(const QStringList& terms) {
    if (host_.gateOpen()) host_.showSearch(queryOf(terms));
}

// An id is "tab-slot-fingerprint"; the fingerprint covers what the desktop was shown.
QString DesktopSearch::idOf(const SearchHit& hit) const {
    return QStringLiteral("%1-%2-%3")
        .arg(hit.tab)
        .arg(hit.slot)
        .arg(QString::fromLatin1(fingerprint(hit).toHex()));
}

std::optional<SearchHit> DesktopSearch::resolve(const QString& id) const {
    if (!host_.gateOpen() || id.size() > kMostDesktopIdChars) return std::nullopt;
    const QStringList parts = id.split(u'-');
    if (parts.size() != 3) return std::nullopt;
    bool tabOk = false;
    bool slotOk = false;
    const SearchHit hit{parts[0].toInt(&tabOk), parts[1].toInt(&slotOk)};
    if (!tabOk || !slotOk || hit.tab < 0 || hit.tab >= kTabCount || hit.slot < 0 ||
        hit.slot >= listedCount(store_.entries[hit.tab]))
        return std::nullopt;
    if (idOf(hit) != id) return std::nullopt;
    return hit;
}

QByteArray DesktopSearch::fingerprint(const SearchHit& hit) const {
    QMessageAuthenticationCode code(QCryptographicHash::Sha256, key_);
    const UrlEntry& entry = store_.entries[hit.tab][hit.slot];
    code.addData(QStringLiteral("%1\n%2\n").arg(hit.tab).arg(hit.slot).toUtf8());
    for (const QString& text : {entry[UrlField::title], entry[UrlField::url],
                                entry[UrlField::content], store_.tabNames[hit.tab]}) {
        code.addData(QByteArray::number(text.size()) + '\n');
        code.addData(text.toUtf8());
    }
    return code.result().left(kFingerprintBytes);
}

}  // namespace velandri
