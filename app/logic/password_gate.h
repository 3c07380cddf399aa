#pragma once

#include <QString>

namespace velandri {

// The start-up password check of the password window: what the typed text must equal and how
// many wrong attempts of full length were made. After the sixth the expectation becomes a
// random number, so the password no longer opens the gate in this run.
class PasswordGate {
public:
    enum class Verdict { Open, Failure, Nothing };

    // A copy of the password, taken once when the password window loads.
    void reset(const QString& password);
    Verdict check(const QString& typed);

    int failCount = 0;
    QString expectedPassword;
};

}  // namespace velandri
