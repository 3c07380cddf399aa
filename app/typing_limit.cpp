#include "app/typing_limit.h"

#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <QValidator>
#include <algorithm>

namespace velandri {

namespace {

qsizetype commonPrefixLength(QStringView a, QStringView b) {
    const auto [ina, inb] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return ina - a.begin();
}

qsizetype commonSuffixLength(QStringView a, QStringView b) {
    const auto [ina, inb] = std::mismatch(a.rbegin(), a.rend(), b.rbegin(), b.rend());
    return ina - a.rbegin();
}

// The last grapheme boundary of text at or before position, but not before floor.
qsizetype boundaryAtOrBefore(const QString& text, qsizetype position, qsizetype floor) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.setPosition(position);
    if (!finder.isAtBoundary()) finder.toPreviousBoundary();
    return std::max(floor, finder.position());
}

// Every edit of the box passes here, typed, pasted, dropped or committed by an input method.
// The validator keeps the box's text of the last edit, so it can tell what an edit inserted.
class TypingLimit : public QValidator {
public:
    TypingLimit(int limit, QObject* parent) : QValidator(parent), limit_(limit) {}

    State validate(QString& text, int& cursor) const override {
        const qsizetype allowed = std::max<qsizetype>(limit_, kept_.size());
        if (text.size() > allowed) cutInsertion(text, cursor, text.size() - allowed);
        kept_ = text;
        // Always acceptable: anything else would keep Return from reaching returnPressed.
        return Acceptable;
    }

    void keep(const QString& text) { kept_ = text; }

private:
    // Leaves out the end of the inserted text, by whole characters, until excess units fit.
    void cutInsertion(QString& text, int& cursor, qsizetype excess) const {
        const qsizetype suffix =
            std::min(commonSuffixLength(kept_, text), text.size() - qsizetype(cursor));
        const qsizetype insertEnd = text.size() - std::max<qsizetype>(suffix, 0);
        const qsizetype insertStart =
            std::min(commonPrefixLength(kept_, text), insertEnd - (text.size() - kept_.size()));
        const qsizetype keepEnd =
            boundaryAtOrBefore(text, std::max(insertStart, insertEnd - excess), insertStart);
        text.remove(keepEnd, insertEnd - keepEnd);
        cursor = int(keepEnd);
    }

    int limit_;
    mutable QString kept_;
};

TypingLimit* typingLimitOf(QLineEdit* box) {
    return dynamic_cast<TypingLimit*>(const_cast<QValidator*>(box->validator()));
}

}  // namespace

void limitTyping(QLineEdit* box, int limit) {
    auto* validator = new TypingLimit(limit, box);
    validator->keep(box->text());
    box->setValidator(validator);
}

void setWholeText(QLineEdit* box, const QString& text) {
    if (TypingLimit* limit = typingLimitOf(box)) limit->keep(text);
    box->setText(text);
}

void setTypedText(QLineEdit* box, const QString& text) {
    box->clear();
    box->insert(text);
}

}  // namespace velandri
