#pragma once
// An alert with a message, an explanation and up to three buttons. ShowModalWithin shows it
// modally over a window and gives the pressed button (nullptr when it ended otherwise).
#include <functional>
#include <string>
#include <vector>

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
