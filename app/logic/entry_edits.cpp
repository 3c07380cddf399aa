#include "app/logic/entry_edits.h"

namespace velandri {

int slotToWrite(const TabSlots& tabSlots, EditMode mode, int selectedRow) {
    return commitSlot(tabSlots, mode == EditMode::Correcting, selectedRow);
}

bool canMove(int selectedRow, int direction, int count) {
    if (selectedRow < 0) return false;
    const int target = selectedRow + direction;
    return target >= 0 && target < count;
}

bool mayDiscardEdits(bool& urlChanged, const std::function<bool()>& userAgrees) {
    if (!urlChanged) return true;
    if (!userAgrees()) return false;
    urlChanged = false;
    return true;
}

}  // namespace velandri
