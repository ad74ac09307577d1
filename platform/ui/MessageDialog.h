#pragma once
// An alert with a message, an explanation and up to three buttons. ShowModalWithin shows it
// modally over a window and gives the pressed button (nullptr when it ended otherwise).
#include <string>

namespace fw {

class Window;

enum class MessageIcon { Note = 0, Caution = 1, Stop = 2, Question = 3 };

struct MessageDialogButton {
  std::string Caption;
  bool Visible = false;
};

class MessageDialog {
 public:
  MessageIcon Icon = MessageIcon::Note;
  std::string Title;
  std::string Message;
  std::string Explanation;
  MessageDialogButton ActionButton{.Caption = "OK", .Visible = true};
  MessageDialogButton CancelButton{.Caption = "Cancel", .Visible = false};
  MessageDialogButton AlternateActionButton{.Caption = "Don't Save", .Visible = false};

  MessageDialogButton* ShowModalWithin(Window* parent);
};

}  // namespace fw
