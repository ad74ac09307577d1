#pragma once
// An alert with a message, an explanation and up to three buttons. ShowModalWithin shows it
// modally over a window and gives the pressed button (nullptr when it ended otherwise).
#include <functional>
#include <string>
#include <vector>

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

// What a showing alert shows.
struct MessageDialogShown {
  std::string Title;
  std::string Message;
  std::string Explanation;
  std::vector<std::string> Buttons;  // the visible captions
  bool PlainText = false;            // no text of it is read as markup
};

namespace testing {
// Tests only: once an alert shows, inside its modal loop, it is handed to this answerer, which
// gives the caption of the button to press; any other caption dismisses it as nothing pressed.
// An empty answerer leaves the alert to the user.
void SetAlertAnswerer(std::function<std::string(const MessageDialogShown&)> answerer);
}  // namespace testing

}  // namespace fw
