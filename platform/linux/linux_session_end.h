#pragma once

#include <QSocketNotifier>
#include <array>
#include <memory>

#include "platform/session_end.h"

namespace velandri {

// SIGTERM, SIGHUP and SIGINT reach the event loop through a pipe into which their handler only
// writes a byte. The session manager's requests come through Qt. A lost display is met in the
// process's exit, which Qt's X11 connection calls when the server goes. One at a time.
class LinuxSessionEnd : public SessionEnd {
public:
    LinuxSessionEnd();
    ~LinuxSessionEnd() override;
    LinuxSessionEnd(const LinuxSessionEnd&) = delete;
    LinuxSessionEnd& operator=(const LinuxSessionEnd&) = delete;

    void arm(std::function<void()> keepAtDisplayLoss) override;
    void disarm() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchSignals();
    void watchSessionManager();
    void signalArrived();

    std::array<int, 2> pipe_{-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
    std::array<bool, 3> handled_{};
    bool armed_ = false;
};

}  // namespace velandri
