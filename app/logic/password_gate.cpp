#include "app/logic/password_gate.h"

#include <QRandomGenerator>

namespace velandri {

namespace {
constexpr int kFreeFailures = 5;
constexpr quint32 kRandomRange = 100000000;  // 0 to 99999999
}  // namespace

void PasswordGate::reset(const QString& password) {
    failCount = 0;
    expectedPassword = password;
}

PasswordGate::Verdict PasswordGate::check(const QString& typed) {
    if (typed == expectedPassword) {
        failCount = 0;
        return Verdict::Open;
    }
    if (typed.size() != expectedPassword.size()) return Verdict::Nothing;
    ++failCount;
    if (failCount > kFreeFailures) {
        expectedPassword = QString::number(QRandomGenerator::global()->bounded(kRandomRange));
    }
    return Verdict::Failure;
}

}  // namespace velandri
