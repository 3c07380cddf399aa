#include "app/logic/entry_edits.h"

namespace velandri {

namespace {
// How the data tool and the store name the correcting mode.
constexpr int16_t kCorrectingCode = 1;
}  // namespace

int slotToWrite(const TabSlots& tabSlots, EditMode mode, int selectedRow) {
    return commitSlot(tabSlots, mode == EditMode::Correcting ? kCorrectingCode : 0, selectedRow);
}

bool canMove(int selectedRow, int direction, int count) {
    if (selectedRow < 0) return false;
    const int target = selectedRow + direction;
    return target >= 0 && target < count;
}

}  // namespace velandri
