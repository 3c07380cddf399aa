#pragma once

class QLineEdit;
class QString;

namespace velandri {

// A length limit for typing only. QLineEdit's own limit also cuts text the program sets, so a
// longer title from the data file would lose its end; here the box keeps what it is given, and
// typing can make it no longer than the limit or than what it already holds.
void limitTyping(QLineEdit* box, int limit);

// Sets the box's text whole, whatever the typing limit.
void setWholeText(QLineEdit* box, const QString& text);

}  // namespace velandri
