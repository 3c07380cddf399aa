#pragma once

#include <functional>

#include "app/logic/shared_values.h"
#include "store/tab_edits.h"

namespace velandri {

// Where "完了" writes the edit row; -1 when the tab has no free slot.
int slotToWrite(const TabSlots& tabSlots, EditMode mode, int selectedRow);

// Whether the selected row can move one step (-1 up, +1 down) within a list of count lines.
bool canMove(int selectedRow, int direction, int count);

// Whether the edit row's text may be replaced or emptied: at once when none of it is
// unregistered, otherwise only when the user agrees, which leaves nothing unregistered.
bool mayDiscardEdits(bool& urlChanged, const std::function<bool()>& userAgrees);

}  // namespace velandri
