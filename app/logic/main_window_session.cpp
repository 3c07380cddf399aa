#include "app/logic/main_window_session.h"

#include <algorithm>

#include "app/logic/entry_edits.h"
#include "store/text.h"

namespace velandri {

void MainWindowSession::rowSelected() {
    rowButtons_ = true;
    shared_.modifyMode = EditMode::Adding;
}

void MainWindowSession::tabChanged() {
    rowButtons_ = false;
    shared_.modifyMode = EditMode::Adding;
}

void MainWindowSession::editRowChanged(const EditRowText& boxes) {
    urlChanged_ =
        std::any_of(boxes.begin(), boxes.end(), [](const QString& text) { return !isBlank(text); });
}

void MainWindowSession::enterEditMode() {
    editMode_ = true;
    urlChanged_ = false;
}

void MainWindowSession::startAdding() { enterEditMode(); }

std::optional<EditRowText> MainWindowSession::startCorrecting(int tab, int selectedRow) {
    urlChanged_ = false;
    if (selectedRow < 0) return std::nullopt;
    const UrlEntry& entry = store_.entries[tab][selectedRow];
    enterEditMode();
    shared_.modifyMode = EditMode::Correcting;
    return EditRowText{trim(entry[UrlField::title]), trim(entry[UrlField::url]),
                       trim(entry[UrlField::content])};
}

CommitOutcome MainWindowSession::commit(int tab, int selectedRow, const EditRowText& boxes) {
    if (!editMode_) return CommitOutcome::NotEditing;
    if (isBlank(boxes[0]) || isBlank(boxes[1])) return CommitOutcome::BlankTitleOrUrl;
    TabSlots& tabSlots = store_.entries[tab];
    const int slot = slotToWrite(tabSlots, shared_.modifyMode, selectedRow);
    rowButtons_ = false;
    urlChanged_ = false;
    if (slot < 0) return CommitOutcome::NoFreeSlot;
    writeEntry(tabSlots[slot], trim(boxes[0]), trim(boxes[1]), trim(boxes[2]));
    editMode_ = false;
    shared_.modifyMode = EditMode::Adding;
    return CommitOutcome::Written;
}

bool MainWindowSession::mayDiscardEdits(const std::function<bool()>& userAgrees) {
    return velandri::mayDiscardEdits(urlChanged_, userAgrees);
}

bool MainWindowSession::leaveEditMode(const std::function<bool()>& userAgrees) {
    if (!mayDiscardEdits(userAgrees)) return false;
    editMode_ = false;
    shared_.modifyMode = EditMode::Adding;
    urlChanged_ = false;
    return true;
}

bool MainWindowSession::removeSelected(int tab, int selectedRow,
                                       const std::function<bool()>& userAgrees) {
    if (selectedRow < 0 || !userAgrees()) return false;
    removeEntry(store_.entries[tab], selectedRow);
    rowButtons_ = false;
    urlChanged_ = false;
    return true;
}

int MainWindowSession::moveSelected(int tab, int selectedRow, int direction, int listedLines) {
    if (!canMove(selectedRow, direction, listedLines)) return -1;
    const int target = selectedRow + direction;
    swapEntries(store_.entries[tab], selectedRow, target);
    return target;
}

}  // namespace velandri
