#include "app/search_bar.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>

#include "app/form_window.h"
#include "store/text.h"

namespace velandri {

namespace {

// Long enough after the main window's load for it to be drawn, short enough to come before the
// user's first search.
constexpr int kPrepareFoldingMs = 500;

bool isTyping(const QKeyEvent* key) {
    const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    return !(key->modifiers() & commands) && !key->text().isEmpty() && key->text()[0].isPrint() &&
           !isBlank(key->text());
}

bool isReturn(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

bool movesInList(const QKeyEvent* key) {
    switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            return true;
        default:
            return false;
    }
}

}  // namespace

SearchBar::SearchBar(FormWindow& window, QListWidget& list, SearchedWindow& host,
                     const UrlStore& store, WindowSystem& windows)
    : QObject(&window),
      window_(window),
      host_(host),
      store_(store),
      windows_(windows),
      list_(&list),
      listViewport_(list.viewport()),
      box_(new QLineEdit(&window)) {
    box_->setObjectName(QStringLiteral("SearchBox"));
    box_->setAccessibleName(QStringLiteral("検索"));
    box_->hide();
    // textChanged carries committed text only: a composition in progress searches nothing.
    connect(box_, &QLineEdit::textChanged, this, &SearchBar::search);
    auto* find = new QShortcut(QKeySequence::Find, &window);
    connect(find, &QShortcut::activated, this, [this] { open(); });
    // Another control takes the focus, or the list does while the box is still empty: the user
    // has left the search.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!isOpen() || !now || now == box_ || now->window() != &window_) return;
        if (now != list_ || box_->text().isEmpty()) close();
    });
    connect(&window, &FormWindow::loadFinished, this,
            [] { QTimer::singleShot(kPrepareFoldingMs, &prepareFolding); });
    // Installed after the main window's own filters, so these run first.
    list_->installEventFilter(this);
    listViewport_->installEventFilter(this);
    box_->installEventFilter(this);
}

bool SearchBar::open() {
    if (host_.inEditMode()) return false;
    if (!isOpen()) {
        rowBefore_ = host_.selectedRow();
        box_->clear();
        session_.emplace(store_);
        // The list's own notices would treat a result row as a row of the current tab.
        list_->blockSignals(true);
        // The row buttons act on rows of the current tab, which a search does not show.
        host_.setRowButtons(false);
        list_->setAccessibleName(QStringLiteral("検索結果"));
        placeBox();
        box_->show();
        box_->raise();
    }
    box_->setFocus();
    return true;
}

bool SearchBar::searchFor(const QString& query) {
    if (!open()) return false;
    box_->setText(query);
    return true;
}

void SearchBar::close() {
    if (!isOpen()) return;
    end();
    host_.showCurrentTab();
    if (rowBefore_ >= 0 && rowBefore_ < list_->count()) list_->setCurrentRow(rowBefore_);
}

void SearchBar::end() {
    if (!isOpen()) return;
    session_.reset();
    hits_.clear();
    // The list takes the focus while its notices are still off: taking it makes a row current
    // without selecting it, and a later click on that row would go unnoticed.
    if (box_->hasFocus()) {
        list_->setFocus();
        list_->setCurrentItem(nullptr);
    }
    list_->blockSignals(false);
    box_->hide();
    box_->clear();
    host_.nameListAfterSelectedTab();
}

void SearchBar::openSelected() {
    if (const std::optional<SearchHit> hit = selectedHit()) host_.openEntry(hit->tab, hit->slot);
}

void SearchBar::showSelectedInItsTab() {
    const std::optional<SearchHit> hit = selectedHit();
    if (!hit) return;
    end();
    host_.showEntry(hit->tab, hit->slot);
}

std::optional<SearchHit> SearchBar::selectedHit() const {
    const int row = list_->currentRow();
    if (!isOpen() || row < 0 || row >= static_cast<int>(hits_.size())) return std::nullopt;
    return hits_[row];
}

void SearchBar::search(const QString& query) {
    if (!isOpen()) return;
    if (query.isEmpty()) return close();
    hits_ = session_->find(query);
    list_->clear();
    list_->addItems(session_->resultLines(hits_));
    if (!hits_.empty()) list_->setCurrentRow(0);
}

bool SearchBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == listViewport_ && event->type() == QEvent::MouseButtonDblClick && isOpen()) {
        openSelected();
        return true;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == box_) return boxKey(key);
    if (watched == list_) return isOpen() ? listKeyWhileOpen(key) : startFromList(key);
    return false;
}

bool SearchBar::startFromList(QKeyEvent* key) {
    if (!isTyping(key) || !open()) return false;
    // The list takes no input method, so the key has not met it yet: with one on, it starts
    // the composition in the box.
    windows_.typeThroughInputMethod(box_, *key);
    return true;
}

// The list keeps its moves; typing goes on in the box; no other key acts on a result row as if
// it were a row of the current tab.
bool SearchBar::listKeyWhileOpen(QKeyEvent* key) {
    if (movesInList(key)) {
        QTimer::singleShot(0, this, [this] { keepSelectionAboveBox(); });
        return false;
    }
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;
    if (resultKey(key)) return true;
    if (isTyping(key) || key->key() == Qt::Key_Backspace) {
        box_->setFocus();
        windows_.typeThroughInputMethod(box_, *key);
    }
    return true;
}

bool SearchBar::boxKey(QKeyEvent* key) {
    if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
        moveSelection(key->key() == Qt::Key_Up ? -1 : +1);
        return true;
    }
    return resultKey(key);
}

bool SearchBar::resultKey(QKeyEvent* key) {
    if (key->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    if (!isReturn(key)) return false;
    if (key->modifiers() & Qt::ControlModifier) {
        showSelectedInItsTab();
    } else {
        openSelected();
    }
    return true;
}

void SearchBar::moveSelection(int step) {
    const int row = list_->currentRow() + step;
    if (row < 0 || row >= list_->count()) return;
    list_->setCurrentRow(row);
    keepSelectionAboveBox();
}

// The box covers the list's last lines; a selected line must not hide under it.
void SearchBar::keepSelectionAboveBox() {
    QListWidgetItem* item = list_->currentItem();
    if (!isOpen() || !item) return;
    list_->scrollToItem(item);
    QScrollBar* bar = list_->verticalScrollBar();
    const int shownBottom = list_->viewport()->height() - box_->height();
    while (list_->visualItemRect(item).bottom() > shownBottom && bar->value() < bar->maximum()) {
        bar->setValue(bar->value() + 1);
    }
}

void SearchBar::placeBox() {
    const QRect list = list_->geometry();
    const int height = box_->sizeHint().height();
    box_->setGeometry(list.left(), list.bottom() + 1 - height, list.width(), height);
}

}  // namespace velandri
