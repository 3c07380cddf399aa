#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velandri {

// One run of velandri-store with its standard streams.
struct ToolRun {
    int exitCode = -1;  // -1 when it did not start, crashed or ran longer than 30 s
    QByteArray out;
    QByteArray err;
};

ToolRun runTool(const QStringList& arguments, const QByteArray& input = {});

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

}  // namespace velandri
