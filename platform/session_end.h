#pragma once

#include <QObject>
#include <functional>

namespace velandri {

// The desktop session ending under the running program: the session manager's log-out, the
// signals of a log-out, a closed terminal or Ctrl+C, and the display going away.
class SessionEnd : public QObject {
    Q_OBJECT

public:
    ~SessionEnd() override;
    // While armed, the session's end is reported. keep runs if the process ends because the
    // display went away: no window and no event is left then, so it must touch neither.
    virtual void arm(std::function<void()> keepAtDisplayLoss) = 0;
    // The run has ended; what follows is the program's own end.
    virtual void disarm() = 0;

signals:
    // The session manager asks for the data to be committed; the session may still go on.
    void commitWanted();
    // The session ends: the run is to be kept, then the program ends.
    void endWanted();
};

}  // namespace velandri
