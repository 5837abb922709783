#pragma once
// Message boxes: owned by a dialog, one OK button, the dialog colours.

#include <string>

namespace lumisk::ui {

class Dialog;

enum class MessageIcon { None, Stop, Exclamation, Information };

// Shows `text` (line breaks allowed) and returns when it is dismissed. An empty caption gives
// the application's name.
void ShowMessage(Dialog* owner, const std::string& text, const std::string& caption = {},
                 MessageIcon icon = MessageIcon::None);

}  // namespace lumisk::ui
