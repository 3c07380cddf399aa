#include "store/store_file.h"

#include <QFile>
#include <QSaveFile>

#include "store/store_line.h"

namespace {

SaveOutcome failure(const QString& reason) { return {false, reason}; }

}  // namespace

LoadOutcome loadStoreFile(const QString& path, UrlStore& store) {
    LoadOutcome outcome{path, false, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        store = emptyStore();
        outcome.damaged = true;
        outcome.reason =
            QStringLiteral("データファイル %1 を読み込めません: %2").arg(path, file.errorString());
        return outcome;
    }
    const LineReadout readout = parseLine(file.readAll(), store);
    outcome.damaged = !readout.damage.isEmpty();
    outcome.reason = readout.damage;
    return outcome;
}

SaveOutcome writeStoreFile(const QString& path, UrlStore& store) {
    const QByteArray line = encodeLine(store) + "\r\n";
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(
            QStringLiteral("データファイル %1 を作成できません: %2").arg(path, file.errorString()));
    if (file.write(line) != line.size() || !file.commit())
        return failure(
            QStringLiteral("データファイル %1 を書き込めません: %2").arg(path, file.errorString()));
    return {true, {}};
}
