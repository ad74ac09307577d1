#pragma once
// A window with declared properties and controls. One implicit instance per window class is
// made by its accessor on first use (fw::Implicit<T>()) and is gone once closed.
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "platform/core/Event.h"
#include "platform/ui/Color.h"
#include "platform/ui/Control.h"

class QEventLoop;

namespace fw {

class MenuBar;
class Toolbar;

// The kinds of window frame the program declares. Every kind but Document is shown as a
// dialog; Sheet is the dialog that belongs to its parent window.
enum class WindowFrame { Document = 0, MovableModal = 1, Sheet = 8 };

// What a window declares; the defaults are those of a plain document window.
struct WindowDecl {
  int Width = 300, Height = 300;
  int MinWidth = 64, MinHeight = 64, MaxWidth = 32000, MaxHeight = 32000;
  WindowFrame Frame = WindowFrame::Document;
  std::optional<Color> BackColor;
  std::string Title;
  bool Visible = true;
  bool FullScreen = false;
  bool MenuBarVisible = true;
  bool CloseButton = true;
  bool Resizeable = true;
  bool MaximizeButton = true;
  bool MinimizeButton = true;
};

class Window {
 public:
  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The framework's window constructor: Layout, CreateControls, the controls' Open events in
  // creation order, the window's Open event, then Show when the window declares itself visible.
  void Construct();

  void Show();
  // Returns when the window is hidden or closed; the other windows take no input meanwhile.
  void ShowModal();
  void Hide();
  // Asks CancelClose first; a close that goes ahead destroys the window (later, never under
  // the caller's feet).
  void Close();
  bool IsVisible() const;
  std::string Title() const;

  MenuBar* GetMenuBar() const { return menuBar_; }
  // The control of this name, or nullptr.
  Control* ControlNamed(const std::string& name) const;
  const std::vector<Control*>& Controls() const { return controls_; }
  QMainWindow* Widget() const { return widget_; }
  // The area the controls sit on (its size is the declared Width and Height).
  QWidget* Content() const { return content_; }

  Event<bool(int, int)> MouseDown;

 protected:
  virtual void Layout() {}
  virtual void CreateControls() {}
  virtual void Event_Open() {}
  // True cancels the close; appQuitting tells whether the application is quitting.
  virtual bool Event_CancelClose(bool appQuitting) { (void)appQuitting; return false; }
  virtual bool Event_MouseDown(int x, int y) { return MouseDown.Raise(x, y); }
  // A key that reached the window itself (no control took it): its text, "\x1B" for Escape and
  // "\r" for Return or Enter. True when the window handled it.
  virtual bool Event_KeyDown(const std::string& key) { (void)key; return false; }

  void SetMenuBar(MenuBar* menuBar);
  void ApplyDecl(const WindowDecl& decl);
  // Creates a control of type T for this window under its name.
  template <class T, class... Args>
  T* AddControl(Args&&... args) {
    auto control = std::make_unique<T>(*this, std::forward<Args>(args)...);
    T* raw = control.get();
    Register(std::move(control));
    return raw;
  }

 private:
  friend class WindowWidget;
  friend class ContentWidget;
  friend class Application;
  void MouseDownAt(int x, int y);
  void Register(std::unique_ptr<Control> control);
  // Returns false when the close was cancelled.
  bool CloseRequested(bool appQuitting);
  void Destroy();
  // Links each control declared as labelled by a StaticText to it.
  void LinkLabels();
  // Orders the keyboard focus by TabIndex and gives the focus to the first control in it.
  void ApplyTabOrder();

  QMainWindow* widget_;
  QWidget* content_;
  MenuBar* menuBar_ = nullptr;
  WindowDecl decl_;
  std::vector<std::unique_ptr<Control>> owned_;
  std::vector<Control*> controls_;
  QPointer<QEventLoop> modalLoop_;
  bool closing_ = false;
  bool destroyed_ = false;
};

namespace testing {
// Tests only: every window that enters ShowModal is handed to this hook once it shows, inside
// its modal loop. An empty hook leaves the window to the user.
void SetModalHook(std::function<void(Window&)> hook);
}  // namespace testing

// Every open window, oldest first.
std::vector<Window*> OpenWindows();
// True while the window exists and has not been closed (for code that outlives a window).
bool IsOpen(const Window* window);

namespace detail {
Window* FindImplicit(std::type_index type);
void RegisterImplicit(std::type_index type, Window* window);
}  // namespace detail

// The implicit instance of window class T: made and constructed on first use.
template <class T>
T* Implicit() {
  if (Window* w = detail::FindImplicit(typeid(T))) return static_cast<T*>(w);
  auto* w = new T();
  detail::RegisterImplicit(typeid(T), w);
  w->Construct();
  return w;
}

// True when an implicit instance of T exists now.
template <class T>
bool HasImplicit() {
  return detail::FindImplicit(typeid(T)) != nullptr;
}

}  // namespace fw
