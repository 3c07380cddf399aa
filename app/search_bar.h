#pragma once

#include <QObject>
#include <optional>
#include <vector>

#include "app/logic/bookmark_search.h"
#include "platform/window_system.h"
#include "store/url_store.h"

class QKeyEvent;
class QLineEdit;
class QListWidget;

namespace velandri {

class FormWindow;

// What the search bar needs of the window whose list it searches.
class SearchedWindow {
public:
    virtual bool inEditMode() const = 0;
    virtual int selectedRow() const = 0;
    virtual void setRowButtons(bool enabled) = 0;
    virtual void showCurrentTab() = 0;
    virtual void nameListAfterSelectedTab() = 0;
    virtual void openEntry(int tab, int slot) = 0;
    virtual void showEntry(int tab, int slot) = 0;

protected:
    ~SearchedWindow() = default;
};

// The search over all ten tabs: a one-line box over the bottom of the main window's list. While
// the box holds text, the list shows the matching entries of every tab; closing the box brings
// the current tab's list back as it was. The box opens in list mode only, on Ctrl+F or on a
// printable character typed in the list.
class SearchBar : public QObject {
    Q_OBJECT

public:
    SearchBar(FormWindow& window, QListWidget& list, SearchedWindow& host, const UrlStore& store,
              WindowSystem& windows);

    bool isOpen() const { return session_.has_value(); }
    // False in edit mode, where the list is not the user's business.
    bool open();
    // Back to the current tab's list, with the row selected before the search; the row buttons
    // follow that row as a click on it sets them.
    void close();
    // Opens the selected result as a double-click on its own tab does.
    void openSelected();
    // Opens the box holding the query, as if the user had typed it; false in edit mode.
    bool searchFor(const QString& query);
    // Opens an entry found by a search from outside the window, as a double-click does.
    void openFound(int tab, int slot) { host_.openEntry(tab, slot); }
    // Closes the box and shows the selected result selected in its own tab.
    void showSelectedInItsTab();
    // Another tab shows its own list; the search has nothing left to restore.
    void tabChanged() { end(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool startFromList(QKeyEvent* key);
    bool listKeyWhileOpen(QKeyEvent* key);
    bool boxKey(QKeyEvent* key);
    bool resultKey(QKeyEvent* key);
    void search(const QString& query);
    void moveSelection(int step);
    void keepSelectionAboveBox();
    void placeBox();
    void end();
    std::optional<SearchHit> selectedHit() const;

    QWidget& window_;
    SearchedWindow& host_;
    const UrlStore& store_;
    WindowSystem& windows_;
    QListWidget* list_;
    // Kept apart: events still reach the filter while the list is being destroyed.
    QWidget* listViewport_;
    QLineEdit* box_;
    std::optional<BookmarkSearch> session_;
    std::vector<SearchHit> hits_;
    int rowBefore_ = -1;
};

}  // namespace velandri
