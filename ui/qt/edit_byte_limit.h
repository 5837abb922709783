#pragma once
// Edit fields that take at most a number of bytes of UTF-8.

class QLineEdit;

namespace lumisk::ui {

// At most `bytes` bytes of UTF-8 can be typed or pasted into `edit`: an edit that would make the
// text longer is refused whole.
void LimitEditBytes(QLineEdit& edit, int bytes);

}  // namespace lumisk::ui
