#pragma once

#include <QString>

#include "platform/message_box.h"
#include "platform/result.h"
#include "update/failure_notice.h"

namespace velandri {

// The user's words for a failure, chosen by its kind and naming its subjects; the log takes
// the failure's detail instead.
QString failureWords(const Failure& failure);

// The notice at start when the data file could not be read whole.
QString loadFailureNotice(const Failure& failure);
// The notice when the data file could not be saved.
QString saveFailureNotice(const Failure& failure);

// Tells of a failure in a notice box.
class FailureNoticeBox : public FailureNotice {
public:
    explicit FailureNoticeBox(MessageBox& messages) : messages_(messages) {}
    void tell(FailureKind kind) override;

private:
    MessageBox& messages_;
};

}  // namespace velandri
