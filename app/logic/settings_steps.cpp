#include "app/logic/settings_steps.h"

#include <algorithm>

#include "app/logic/logoff_clock.h"
#include "platform/browsers.h"
#include "store/text.h"

namespace velandri {

bool flagOn(int16_t stored) { return stored == 1; }

int16_t storedFlag(bool on) { return on ? 1 : 0; }

PasswordChange passwordChange(const QString& password, const QString& confirmation) {
    if (password.isEmpty()) return PasswordChange::Unchanged;
    if (confirmation.isEmpty()) return PasswordChange::ConfirmationMissing;
    if (password != confirmation) return PasswordChange::Mismatch;
    return PasswordChange::Set;
}

PasswordChange applyPasswordBoxes(UrlStore& store, bool clear, const QString& password,
                                  const QString& confirmation) {
    if (clear) store.password.clear();
    const PasswordChange change = passwordChange(password, confirmation);
    if (change == PasswordChange::Set) store.password = password;
    return change;
}

bool minutesAboveLongest(const QString& minutesText) {
    return minutesFromText(minutesText) > kLongestLogoffMinutes;
}

QString withAsciiDigits(QString text) {
    for (QChar& c : text) {
        if (c.category() == QChar::Number_DecimalDigit) c = QChar(u'0' + c.digitValue());
    }
    return text;
}

SettingsFields shownSettings(const UrlStore& store) {
    SettingsFields fields;
    fields.topMost = flagOn(store.topMost);
    fields.minimizeOnLaunch = flagOn(store.minimizeOnLaunch);
    fields.minutesText = QString::number(boundedLogoffMinutes(store.logoffMinutes));
    fields.tabNames = store.tabNames;
    return fields;
}

void applySettings(UrlStore& store, const SettingsFields& fields) {
    store.topMost = storedFlag(fields.topMost);
    store.minimizeOnLaunch = storedFlag(fields.minimizeOnLaunch);
    store.logoffMinutes = minutesFromText(fields.minutesText);
    store.tabNames = fields.tabNames;
}

bool passwordIsSet(const UrlStore& store) { return !isBlank(store.password); }

bool keepLogoffWithPassword(UrlStore& store) {
    if (passwordIsSet(store)) return true;
    store.logoffMinutes = 0;
    return false;
}

bool browserChoiceNeedsNotice(int chosen, int current) {
    const Browser* browser = browserByCode(chosen);
    return chosen != current && browser && browser->reach != BrowserReach::Automation;
}

std::optional<QRect> clientFittedToScreen(const QRect& available, const QRect& designedClient,
                                          const QMargins& frame, int scrollBarExtent) {
    const QSize framed = designedClient.marginsAdded(frame).size();
    if (framed.width() <= available.width() && framed.height() <= available.height()) {
        return std::nullopt;
    }
    const QRect room = available.marginsRemoved(frame);
    const QSize size(std::min(designedClient.width() + scrollBarExtent, room.width()),
                     std::min(designedClient.height(), room.height()));
    const QPoint topLeft(
        std::clamp(designedClient.left(), room.left(), room.left() + room.width() - size.width()),
        std::clamp(designedClient.top(), room.top(), room.top() + room.height() - size.height()));
    return QRect(topLeft, size);
}

}  // namespace velandri
