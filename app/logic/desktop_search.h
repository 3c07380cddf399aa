#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "app/logic/bookmark_search.h"
#include "store/url_store.h"

namespace velandri {

// What the desktop's search may reach of the running windows.
class DesktopSearchHost {
public:
    virtual ~DesktopSearchHost() = default;
    // False while the password window shows: the desktop then learns nothing at all.
    virtual bool gateOpen() const = 0;
    // As a double-click on the entry's line.
    virtual void openEntry(int tab, int slot) = 0;
    // The main window forward, its search box holding the terms.
    virtual void showSearch(const QString& terms) = 0;
};

// One result as the desktop shows it.
struct DesktopResult {
    QString id;
    QString name;
    QString description;
    bool operator==(const DesktopResult&) const = default;
};

// Any caller on the session bus may ask; these bound what one question costs.
constexpr int kMostDesktopTerms = 64;
constexpr int kMostDesktopQueryChars = 1024;
constexpr int kMostDesktopIds = 64;
constexpr int kMostDesktopIdChars = 64;

// The desktop's search over the store: the window's own search, with result ids that name an
// entry as it was when found. An id of an entry moved, deleted or changed since then, an id of
// an earlier run and any id while the gate is closed open nothing. Nothing is stored.
class DesktopSearch {
public:
    DesktopSearch(const UrlStore& store, DesktopSearchHost& host);

    QStringList find(const QStringList& terms);
    // The results of those ids that still name their entry, in the ids' order.
    std::vector<DesktopResult> describe(const QStringList& ids) const;
    // False when the id names nothing (any more).
    bool open(const QString& id);
    void showAll(const QStringList& terms);

private:
    std::optional<SearchHit> resolve(const QString& id) const;
    QString idOf(const SearchHit& hit) const;
    QByteArray fingerprint(const SearchHit& hit) const;

    const UrlStore& store_;
    DesktopSearchHost& host_;
    BookmarkSearch search_;
    // Drawn anew each run: ids cannot be guessed, nor kept from one run to the next.
    QByteArray key_;
};

}  // namespace velandri
