#pragma once
// An alert with a message, an explanation and up to three buttons. ShowModalWithin shows it
// modally over a window and gives the pressed button (nullptr when it ended otherwise).
#include <string>

namespace fw {

class Window;

struct MessageDialogButton {
  std::string Caption;
  bool Visible = false;
};

class MessageDialog {
 public:
  static constexpr int IconNote = 0;
  static constexpr int IconCaution = 1;
  static constexpr int IconStop = 2;
  static constexpr int IconQuestion = 3;

  int Icon = IconNote;
  std::string Title;
  std::string Message;
  std::string Explanation;
  MessageDialogButton ActionButton{"OK", true};
  MessageDialogButton CancelButton{"Cancel", false};
  MessageDialogButton AlternateActionButton{"Don't Save", false};

  MessageDialogButton* ShowModalWithin(Window* parent);
};

}  // namespace fw
