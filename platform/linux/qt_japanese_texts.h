#pragma once

class QCoreApplication;

namespace velandri {

// Qt's own texts (the buttons of message boxes, the edit boxes' context menus) in Japanese, as
// every text of the program is, whatever the user's locale. Without Qt's translation installed
// they stay in English.
void installQtJapaneseTexts(QCoreApplication& app);

}  // namespace velandri
