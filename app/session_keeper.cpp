#include "app/session_keeper.h"

#include "platform/log.h"

namespace velandri {

SessionKeeper::SessionKeeper(UrlStore& store, StoreIo& storeIo, SessionEnd& sessionEnd,
                             ProgramWindows& windows)
    : store_(store), storeIo_(storeIo), sessionEnd_(sessionEnd), windows_(windows) {
    connect(&sessionEnd, &SessionEnd::commitWanted, this, [this] { keep(); });
    connect(&sessionEnd, &SessionEnd::endWanted, this, [this] { endSession(); });
    connect(&windows, &ProgramWindows::ended, this, [this] { runEnded(); });
    sessionEnd.arm([this] { keep(); });
}

SessionKeeper::~SessionKeeper() { runEnded(); }

bool SessionKeeper::keep() {
    if (!live_) return false;
    if (kept_ == store_) return true;
    const SaveOutcome saved = storeIo_.saveStore(store_);
    if (saved)
        kept_ = store_;
    else
        qCWarning(velandriLog).noquote()
            << "the run was not kept at the end of the session:" << saved.error().detail;
    return true;
}

void SessionKeeper::endSession() {
    if (keep()) windows_.end();
}

void SessionKeeper::runEnded() {
    live_ = false;
    sessionEnd_.disarm();
}

}  // namespace velandri
