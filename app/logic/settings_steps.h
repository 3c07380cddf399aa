#pragma once

#include <QMargins>
#include <QRect>
#include <QString>
#include <array>
#include <optional>

#include "store/url_store.h"

namespace velandri {

// A flag as the data file keeps it: 1 is on, any other value off.
bool flagOn(int16_t stored);
int16_t storedFlag(bool on);

// The settings window's decisions. "設定" applies the password and every field below;
// "終了" applies the password only.

// What the two password boxes ask for when either button is clicked.
enum class PasswordChange { Unchanged, Set, ConfirmationMissing, Mismatch };
PasswordChange passwordChange(const QString& password, const QString& confirmation);
// The password step of either button: the clear box empties the stored password first, even
// when the boxes are then refused; a password typed twice replaces it.
PasswordChange applyPasswordBoxes(UrlStore& store, bool clear, const QString& password,
                                  const QString& confirmation);

// A minutes box above the longest log-off time is shown as the longest before anything is
// applied.
bool minutesAboveLongest(const QString& minutesText);

// The minutes box's text with every decimal digit as its ASCII digit, so that the full-width
// digits an input method gives ("５") count as the digits they are. Other characters stay.
QString withAsciiDigits(QString text);

// The fields "設定" writes into the store, as the window shows them.
struct SettingsFields {
    bool topMost = false;
    bool minimizeOnLaunch = false;
    QString minutesText;
    std::array<QString, kTabCount> tabNames;
};

// The store's values as the window shows them when it loads. A minutes value outside 0..60
// from a damaged file is shown bounded, as the log-off timer reads it.
SettingsFields shownSettings(const UrlStore& store);
void applySettings(UrlStore& store, const SettingsFields& fields);

// A password made only of blanks counts as none: with it there is nothing to log off to.
bool passwordIsSet(const UrlStore& store);

// Without a password there is nothing to log off to: the minutes become 0 and false is
// returned.
bool keepLogoffWithPassword(UrlStore& store);

// A browser started from its installation, chosen anew, must be installed by the user; the one
// reached through an automation object (Internet Explorer) comes with the system.
bool browserChoiceNeedsNotice(int chosen, int current);

// Where the settings window's client area goes when its designed size, framed, does not fit the
// screen's free area: as tall as fits, widened for a scroll bar where there is room, moved so
// that the frame lies inside. Nothing where the designed size fits: size and place stay.
std::optional<QRect> clientFittedToScreen(const QRect& available, const QRect& designedClient,
                                          const QMargins& frame, int scrollBarExtent);

}  // namespace velandri
