#include "store_invariants.h"

#include <QStringList>

#include "store/text.h"

namespace velandri {

namespace {

// "1" to "30", made once rather than for every input.
const QStringList& slotNumbers() {
    static const QStringList numbers = [] {
        QStringList made;
        for (int slot = 0; slot < kSlotCount; ++slot) made.append(QString::number(slot + 1));
        return made;
    }();
    return numbers;
}

bool slotsAreNumbered(const UrlStore& store) {
    for (const auto& tab : store.entries)
        for (int slot = 0; slot < kSlotCount; ++slot)
            if (tab[slot][UrlField::number] != slotNumbers()[slot]) return false;
    return true;
}

bool textsAreFilled(const UrlStore& store) {
    for (const auto& tab : store.entries)
        for (const UrlEntry& entry : tab)
            if (entry[UrlField::title].size() < kTextBoxLimit ||
                entry[UrlField::content].size() < kTextBoxLimit)
                return false;
    return true;
}

bool usedSlotsLead(const UrlStore& store) {
    for (const auto& tab : store.entries) {
        bool sawEmpty = false;
        for (const UrlEntry& entry : tab) {
            const bool empty = isBlank(entry[UrlField::url]);
            if (!empty && sawEmpty) return false;
            sawEmpty = sawEmpty || empty;
        }
    }
    return true;
}

}  // namespace

bool meetsInvariants(const UrlStore& store) {
    return slotsAreNumbered(store) && textsAreFilled(store) && usedSlotsLead(store) &&
           store.logoffMinutes >= 0 && store.logoffMinutes <= 60;
}

}  // namespace velandri
