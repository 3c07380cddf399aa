#pragma once

class QLineEdit;
class QString;

namespace velandri {

// A length limit for typing only. QLineEdit's own limit also cuts text the program sets, so a
// longer title from the data file would lose its end, and it counts UTF-16 units, so it splits
// a character in two. Here the box keeps what it is given, typing can make it no longer than
// the limit or than what it already holds, and what does not fit is left out by whole
// characters (a surrogate pair, a base character with its combining marks).
void limitTyping(QLineEdit* box, int limit);

// Sets the box's text whole, whatever the typing limit.
void setWholeText(QLineEdit* box, const QString& text);

// Replaces the box's text as a paste would: cut to the typing limit by whole characters.
void setTypedText(QLineEdit* box, const QString& text);

}  // namespace velandri
