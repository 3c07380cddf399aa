#pragma once

#include <QObject>
#include <optional>

#include "app/program_windows.h"
#include "app/store_io.h"
#include "platform/session_end.h"
#include "store/url_store.h"

namespace velandri {

// The end of the desktop session keeps the run: the store is saved as "終了" saves it, without a
// question and without the edit row's text that was never registered; a failure is only logged,
// since a message box would hold up the log-out. The gate showing changes nothing. Live from the
// loaded store to a deliberate end of the run ("終了" after its own save, the tray menu, the
// password window's close box), after which nothing is saved here.
class SessionKeeper : public QObject {
    Q_OBJECT

public:
    SessionKeeper(UrlStore& store, StoreIo& storeIo, SessionEnd& sessionEnd,
                  ProgramWindows& windows);
    ~SessionKeeper() override;
    SessionKeeper(const SessionKeeper&) = delete;
    SessionKeeper& operator=(const SessionKeeper&) = delete;

private:
    // Saves the store while the run is live; false when it is not. A store that equals what was
    // kept last is not saved again, so that the file from before the run stays the previous one
    // when the manager's commit request is followed by its "die".
    bool keep();
    void endSession();
    void runEnded();

    UrlStore& store_;
    StoreIo& storeIo_;
    SessionEnd& sessionEnd_;
    ProgramWindows& windows_;
    bool live_ = true;
    std::optional<UrlStore> kept_;
};

}  // namespace velandri
