#pragma once

#include <QString>

namespace velandri {

// Every message the program shows: no icon, Yes the default of every question.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void notice(const QString& title, const QString& text) = 0;
    // True for Yes.
    virtual bool ask(const QString& title, const QString& text) = 0;
    // Closes every open box with the answer that changes nothing: No to a question, OK to a
    // notice.
    virtual void closeOpen() = 0;
};

}  // namespace velandri
