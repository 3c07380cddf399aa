#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QStringList>
#include <utility>

namespace velandri {

// Collects what the program logs in its category while it lives, with the info level that is
// off by default turned on; other categories go on to the previous handler.
class LogCapture {
public:
    LogCapture() {
        previous_ = qInstallMessageHandler(collect);
        QLoggingCategory::setFilterRules(QStringLiteral("velandri.info=true"));
        lines().clear();
    }
    ~LogCapture() {
        QLoggingCategory::setFilterRules(QString());
        qInstallMessageHandler(previous_);
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // The lines logged since the last call.
    QStringList take() { return std::exchange(lines(), {}); }

private:
    static QStringList& lines() {
        static QStringList logged;
        return logged;
    }
    static void collect(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (qstrcmp(context.category, "velandri") == 0)
            lines() << text;
        else if (previous_)
            previous_(type, context, text);
    }
    static inline QtMessageHandler previous_ = nullptr;
};

}  // namespace velandri
