#pragma once
// The base of every visual control: its declared place on the window and its common flags.
// Coordinates are window coordinates in points (one point = one pixel).
#include <QFont>
#include <QPointer>
#include <QWidget>
#include <optional>
#include <string>

#include "platform/core/Event.h"
#include "platform/ui/Color.h"

namespace fw {

class Window;

// What every control declares.
struct ControlDecl {
  std::string Name;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int TabIndex = -1;  // -1: takes no part in the keyboard focus order
  bool Visible = true;
  bool Enabled = true;
  std::string HelpTag;
  std::string InitialParent;  // informative only: controls always sit at window coordinates
  // Unseen, for assistive technology (screen readers): the control's name, or the StaticText
  // beside it that names it (its text without a closing colon).
  std::string AccessibleName;
  std::string LabelledBy;
};

// What every control that shows text declares.
struct FontDecl {
  std::string TextFont = "System";
  int TextSize = 12;
  bool Bold = false, Italic = false, Underline = false;
};

class Control {
 public:
  Control(Window& window, const ControlDecl& decl);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return decl_.Name; }
  int Left() const { return decl_.Left; }
  int Top() const { return decl_.Top; }
  int Width() const { return decl_.Width; }
  int Height() const { return decl_.Height; }
  int TabIndex() const { return decl_.TabIndex; }
  const std::string& LabelledBy() const { return decl_.LabelledBy; }
  bool Visible() const;
  bool Enabled() const;
  void SetEnabled(bool enabled);
  Window& Owner() const { return window_; }
  // The Qt widget that shows the control (for the framework and for tests).
  QWidget* Widget() const { return widget_; }

  Event<void()> Open;

 protected:
  // Places the widget made by the subclass at the declared rectangle.
  void Adopt(QWidget* widget);
  static void ApplyFont(QWidget* widget, const FontDecl& font);
  static void ApplyColors(QWidget* widget, Color text, std::optional<Color> back);

 private:
  Window& window_;
  ControlDecl decl_;
  QPointer<QWidget> widget_;
};

// The Qt font for a declared font: "System" and fonts this machine lacks fall back to one
// that shows Japanese; monospaced families fall back to a monospaced one.
QFont DeclaredFont(const FontDecl& font);

}  // namespace fw
