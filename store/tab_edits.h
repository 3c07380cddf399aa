#pragma once

#include "store/url_store.h"

namespace velandri {

// The entry operations of one tab, on its thirty slots, for the main window and the data tool.
// Numbers stay with their slots.
using TabSlots = std::array<UrlEntry, kSlotCount>;

// The number of leading tabSlots the list shows: up to the first empty url (exact, untrimmed).
int listedCount(const TabSlots& tabSlots);

// The lowest slot whose trimmed url is empty; -1 when all thirty are used.
int firstFreeSlot(const TabSlots& tabSlots);

// True when a tab holds at least one entry (a slot whose trimmed url is not empty).
bool tabHasEntries(const TabSlots& tabSlots);

// Where "完了" writes the edit row: the selected slot while correcting, otherwise (also when
// the corrected entry is gone) the first free slot. -1 when there is none.
int commitSlot(const TabSlots& tabSlots, bool correcting, int selectedRow);

void writeEntry(UrlEntry& entry, const QString& title, const QString& url, const QString& content);

// Swaps title, url and content of two tabSlots.
void swapEntries(TabSlots& tabSlots, int first, int second);

// Moves the entries after row up by one and empties slot 29.
void removeEntry(TabSlots& tabSlots, int row);

}  // namespace velandri
