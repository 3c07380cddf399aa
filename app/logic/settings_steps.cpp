#include "app/logic/settings_steps.h"

#include "app/logic/logoff_clock.h"
#include "store/text.h"

namespace {
constexpr int kInternetExplorer = 0;

int16_t flag(bool on) { return on ? 1 : 0; }
}  // namespace

PasswordChange passwordChange(const QString& password, const QString& confirmation) {
    if (password.isEmpty()) return PasswordChange::Unchanged;
    if (confirmation.isEmpty()) return PasswordChange::ConfirmationMissing;
    if (password != confirmation) return PasswordChange::Mismatch;
    return PasswordChange::Set;
}

bool minutesAboveLongest(const QString& minutesText) {
    return minutesFromText(minutesText) > kLongestLogoffMinutes;
}

SettingsFields shownSettings(const UrlStore& store) {
    SettingsFields fields;
    fields.topMost = store.topMost == 1;
    fields.minimizeOnLaunch = store.minimizeOnLaunch == 1;
    fields.minutesText = QString::number(boundedLogoffMinutes(store.logoffMinutes));
    fields.tabNames = store.tabNames;
    return fields;
}

void applySettings(UrlStore& store, const SettingsFields& fields) {
    store.topMost = flag(fields.topMost);
    store.minimizeOnLaunch = flag(fields.minimizeOnLaunch);
    store.logoffMinutes = minutesFromText(fields.minutesText);
    store.tabNames = fields.tabNames;
}

bool keepLogoffWithPassword(UrlStore& store) {
    if (!isBlank(store.password)) return true;
    store.logoffMinutes = 0;
    return false;
}

bool browserChoiceNeedsNotice(int chosen, int current) {
    return chosen != current && chosen != kInternetExplorer;
}
