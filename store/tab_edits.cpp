#include "store/tab_edits.h"

#include <algorithm>

#include "store/text.h"

namespace velandri {

namespace {
bool validSlot(int slot) { return slot >= 0 && slot < kSlotCount; }
}  // namespace

int listedCount(const TabSlots& tabSlots) {
    int count = 0;
    while (count < kSlotCount && !tabSlots[count][UrlField::url].isEmpty()) ++count;
    return count;
}

int firstFreeSlot(const TabSlots& tabSlots) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (isBlank(tabSlots[slot][UrlField::url])) return slot;
    }
    return -1;
}

bool tabHasEntries(const TabSlots& tabSlots) {
    return std::any_of(tabSlots.begin(), tabSlots.end(),
                       [](const UrlEntry& entry) { return !isBlank(entry[UrlField::url]); });
}

int commitSlot(const TabSlots& tabSlots, bool correcting, int selectedRow) {
    if (correcting && validSlot(selectedRow)) return selectedRow;
    return firstFreeSlot(tabSlots);
}

void writeEntry(UrlEntry& entry, const QString& title, const QString& url, const QString& content) {
    entry[UrlField::title] = title;
    entry[UrlField::url] = url;
    entry[UrlField::content] = content;
}

void swapEntries(TabSlots& tabSlots, int first, int second) {
    if (!validSlot(first) || !validSlot(second)) return;
    for (int field : {UrlField::title, UrlField::url, UrlField::content}) {
        std::swap(tabSlots[first][field], tabSlots[second][field]);
    }
}

void removeEntry(TabSlots& tabSlots, int row) {
    if (!validSlot(row)) return;
    for (int k = row + 1; k < kSlotCount; ++k) {
        const UrlEntry& next = tabSlots[k];
        writeEntry(tabSlots[k - 1], next[UrlField::title], next[UrlField::url],
                   next[UrlField::content]);
    }
    writeEntry(tabSlots[kSlotCount - 1], QString(), QString(), QString());
}

}  // namespace velandri
