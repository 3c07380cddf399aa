#pragma once

class QLineEdit;

namespace velandri {

// A password box: every character echoes as "*" and input is cut at 8 characters, whether
// typed or pasted.
void makePasswordBox(QLineEdit* box);

}  // namespace velandri
