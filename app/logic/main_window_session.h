#pragma once

#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "app/logic/shared_values.h"
#include "store/tab_edits.h"

namespace velandri {

// The edit row's three boxes, in the order of their indices: title, URL, content.
using EditRowText = std::array<QString, 3>;

// What "完了" came to.
enum class CommitOutcome { NotEditing, BlankTitleOrUrl, NoFreeSlot, Written };

// The main window's state and decisions, without widgets: list or edit mode, the slot being
// corrected (kept in the shared modifyMode), text not registered yet, the row buttons, and
// what each command does to the current tab. The window shows what this holds.
class MainWindowSession {
public:
    MainWindowSession(UrlStore& store, SharedValues& shared) : store_(store), shared_(shared) {}

    bool inEditMode() const { return editMode_; }
    bool hasUnregisteredText() const { return urlChanged_; }
    // "↑", "↓", "修正" and "削除", which act on the selected row.
    bool rowButtonsEnabled() const { return rowButtons_; }

    void setRowButtons(bool enabled) { rowButtons_ = enabled; }
    // A row selected, or another tab shown: the edit row empties and a commit adds.
    void rowSelected();
    void tabChanged();
    // The boxes keep what is typed, blanks included; only text that is not blank counts.
    void editRowChanged(const EditRowText& boxes);
    // A command that leaves the edit row's text as it is, but no longer counts it as new.
    void forgetUnregisteredText() { urlChanged_ = false; }

    // "URL設定" and a dropped link start a new entry only while the tab has room.
    static bool canAdd(int listedLines) { return listedLines < kSlotCount; }
    void startAdding();
    // A dropped link is always a new entry, also when it arrives during a correction.
    void addRatherThanCorrect() { shared_.modifyMode = EditMode::Adding; }
    // "修正": the selected entry's trimmed texts, or nothing when no row is selected.
    std::optional<EditRowText> startCorrecting(int tab, int selectedRow);
    // "完了" with the boxes' texts. Written leaves edit mode with the tab changed.
    CommitOutcome commit(int tab, int selectedRow, const EditRowText& boxes);
    // "戻る", and any step that would replace the edit row: false when the user keeps the text.
    bool mayDiscardEdits(const std::function<bool()>& userAgrees);
    bool leaveEditMode(const std::function<bool()>& userAgrees);
    // "削除": false when nothing is selected or the user declines.
    bool removeSelected(int tab, int selectedRow, const std::function<bool()>& userAgrees);
    // "↑" (-1) and "↓" (+1): the row the entry moved to, or -1 when it cannot move.
    int moveSelected(int tab, int selectedRow, int direction, int listedLines);

private:
    void enterEditMode();

    UrlStore& store_;
    SharedValues& shared_;
    bool editMode_ = false;
    bool urlChanged_ = false;
    bool rowButtons_ = false;
};

}  // namespace velandri
