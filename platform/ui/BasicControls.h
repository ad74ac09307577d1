#pragma once
// The simple controls: label, group box, line, progress bar and push button.
#include <string>

#include "platform/ui/Control.h"

class QLabel;
class QGroupBox;
class QFrame;
class QProgressBar;
class QPushButton;

namespace fw {

enum class TextAlignment { Left = 0, Center = 1, Right = 2 };

struct StaticTextDecl {
  std::string Text;
  TextAlignment TextAlign = TextAlignment::Left;
  Color TextColor{};
  bool Multiline = false;
  FontDecl Font;
};

class StaticText : public Control {
 public:
  StaticText(Window& window, const ControlDecl& decl, const StaticTextDecl& text);
  std::string Text() const;
  void SetText(const std::string& text);
  QLabel* Label() const { return label_; }
  // Links the label to the control beside it, which takes the label's text as its accessible
  // name, without a closing colon ("題名：" names it 題名).
  void Names(Control& control);

 private:
  QLabel* label_;
};

struct GroupBoxDecl {
  std::string Caption;
  FontDecl Font;
};

class GroupBox : public Control {
 public:
  GroupBox(Window& window, const ControlDecl& decl, const GroupBoxDecl& box);
  std::string Caption() const;

 private:
  QGroupBox* box_;
};

struct LineDecl {
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  int BorderWidth = 1;
  Color LineColor{};
};

// A straight line from (X1, Y1) to (X2, Y2) in window coordinates (horizontal or vertical).
class Line : public Control {
 public:
  Line(Window& window, const ControlDecl& decl, const LineDecl& line);
};

struct ProgressBarDecl {
  int Value = 0;
  int Maximum = 100;
};

class ProgressBar : public Control {
 public:
  ProgressBar(Window& window, const ControlDecl& decl, const ProgressBarDecl& bar);
  int Value() const { return value_; }
  void SetValue(int value);
  int Maximum() const { return maximum_; }
  // 0 shows a busy bar.
  void SetMaximum(int maximum);

 private:
  void Apply();
  QProgressBar* bar_;
  int value_, maximum_;
};

struct PushButtonDecl {
  std::string Caption;
  bool Default = false;  // Return presses it
  bool Cancel = false;   // Escape presses it
  FontDecl Font;
};

class PushButton : public Control {
 public:
  PushButton(Window& window, const ControlDecl& decl, const PushButtonDecl& button);
  std::string Caption() const;
  void Push();

  Event<void()> Action;

 private:
  QPushButton* button_;
};

}  // namespace fw
