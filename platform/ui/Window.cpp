#include "platform/ui/Window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>

#include "platform/ui/Application.h"
#include "platform/ui/BasicControls.h"
#include "platform/ui/MenuBar.h"
#include "platform/ui/Toolbar.h"

namespace fw {
namespace {

std::vector<Window*> g_openWindows;
std::function<void(Window&)> g_modalHook;
std::map<std::type_index, Window*>& Implicits() {
  static std::map<std::type_index, Window*> implicits;
  return implicits;
}

void Forget(Window* w) {
  std::erase(g_openWindows, w);
  auto& m = Implicits();
  for (auto it = m.begin(); it != m.end();) it = it->second == w ? m.erase(it) : std::next(it);
}

}  // namespace

// The Qt window: hands its close box and mouse-downs to its Window, and paints at most once a
// frame, so that what comes and goes within one frame (the busy bar of a 2 ms session) is never
// painted. A person sees no difference.
class WindowWidget : public QMainWindow {
 public:
  explicit WindowWidget(Window* owner) : owner_(owner) {}

 protected:
  bool event(QEvent* e) override {
    if (e->type() != QEvent::UpdateRequest || painting_) return QMainWindow::event(e);
    if (!framePending_) {
      framePending_ = true;
      QTimer::singleShot(kFrameMs, this, [this] {
        framePending_ = false;
        painting_ = true;
        QEvent update(QEvent::UpdateRequest);
        QMainWindow::event(&update);
        painting_ = false;
      });
    }
    return true;
  }

  void closeEvent(QCloseEvent* e) override {
    if (!owner_ || owner_->closing_ || owner_->CloseRequested(false))
      e->accept();
    else
      e->ignore();
  }

 private:
  friend class Window;
  Window* owner_;
  static constexpr int kFrameMs = 16;
  bool framePending_ = false;
  bool painting_ = false;
};

// The content area: reports mouse-downs that no control took, in window coordinates, and the
// keys that reach it.
class ContentWidget : public QWidget {
 public:
  explicit ContentWidget(Window* owner) : owner_(owner) {}

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    QPoint p = e->position().toPoint();
    owner_->MouseDownAt(p.x(), p.y());
  }
  void keyPressEvent(QKeyEvent* e) override {
    const std::string key = e->key() == Qt::Key_Escape                              ? "\x1B"
                            : e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter ? "\r"
                                                                                      : e->text().toStdString();
    if (!owner_->Event_KeyDown(key)) QWidget::keyPressEvent(e);
  }

 private:
  Window* owner_;
};

Window::Window() : widget_(new WindowWidget(this)), content_(new ContentWidget(this)) {
  widget_->setCentralWidget(content_);
  widget_->setAttribute(Qt::WA_DeleteOnClose, false);
  g_openWindows.push_back(this);
}

Window::~Window() {
  Forget(this);
  if (modalLoop_) modalLoop_->quit();
  static_cast<WindowWidget*>(widget_)->owner_ = nullptr;
  delete widget_;  // deletes every control's widget too
}

void Window::MouseDownAt(int x, int y) { Event_MouseDown(x, y); }

void Window::Construct() {
  Layout();
  CreateControls();
  LinkLabels();
  ApplyTabOrder();
  for (Control* c : std::vector<Control*>(controls_)) c->Open.Raise();
  Event_Open();
  if (decl_.Visible && !destroyed_) Show();
}

void Window::SetMenuBar(MenuBar* menuBar) {
  menuBar_ = menuBar;
  if (menuBar) widget_->setMenuBar(menuBar->CreateQMenuBar());
}

void Window::ApplyDecl(const WindowDecl& decl) {
  decl_ = decl;
  widget_->setWindowTitle(QString::fromStdString(ShownTitle(decl.Title)));
  if (decl.BackColor) {
    QPalette p = content_->palette();
    p.setColor(QPalette::Window, QColor(decl.BackColor->Red, decl.BackColor->Green, decl.BackColor->Blue));
    content_->setPalette(p);
    content_->setAutoFillBackground(true);
  }
  if (decl.Resizeable) {
    content_->setMinimumSize(decl.MinWidth, decl.MinHeight);
    content_->setMaximumSize(decl.MaxWidth, decl.MaxHeight);
    content_->resize(decl.Width, decl.Height);
  } else {
    content_->setFixedSize(decl.Width, decl.Height);
    widget_->layout()->setSizeConstraint(QLayout::SetFixedSize);
  }
  Qt::WindowFlags flags = decl.Frame == WindowFrame::Document ? Qt::Window : Qt::Dialog;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
  if (decl.CloseButton) flags |= Qt::WindowCloseButtonHint;
  if (decl.MinimizeButton) flags |= Qt::WindowMinimizeButtonHint;
  if (decl.MaximizeButton && decl.Resizeable) flags |= Qt::WindowMaximizeButtonHint;
  widget_->setWindowFlags(flags);
  if (!decl.MenuBarVisible && widget_->menuWidget()) widget_->menuWidget()->hide();
}

void Window::Register(std::unique_ptr<Control> control) {
  controls_.push_back(control.get());
  owned_.push_back(std::move(control));
}

Control* Window::ControlNamed(const std::string& name) const {
  auto it = std::find_if(controls_.begin(), controls_.end(), [&](Control* c) { return c->Name() == name; });
  return it == controls_.end() ? nullptr : *it;
}

void Window::LinkLabels() {
  for (Control* c : controls_) {
    if (c->LabelledBy().empty() || !c->Widget()) continue;
    if (auto* label = dynamic_cast<StaticText*>(ControlNamed(c->LabelledBy()))) label->Names(*c);
  }
}

void Window::ApplyTabOrder() {
  std::vector<QWidget*> order;
  std::vector<Control*> ordered;
  for (Control* c : controls_)
    if (c->TabIndex() >= 0 && c->Widget() && c->Widget()->focusPolicy() != Qt::NoFocus) ordered.push_back(c);
  std::stable_sort(ordered.begin(), ordered.end(), [](Control* a, Control* b) { return a->TabIndex() < b->TabIndex(); });
  for (Control* c : ordered) order.push_back(c->Widget());
  // A toolbar's buttons come after the controls, for the keyboard alone.
  for (Control* c : controls_)
    if (auto* toolbar = dynamic_cast<Toolbar*>(c))
      for (QWidget* button : toolbar->Buttons()) order.push_back(button);
  for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
  // Qt would start from the first control created; the window opens with the first in order.
  // A window without any takes the focus itself, so that its keys reach it.
  if (!ordered.empty()) {
    ordered.front()->Widget()->setFocus();
  } else {
    content_->setFocusPolicy(Qt::StrongFocus);
    content_->setFocus();
  }
}

void Window::Show() {
  widget_->show();
  widget_->raise();
  widget_->activateWindow();
}

void Window::ShowModal() {
  QPointer<QMainWindow> alive = widget_;
  // Qt applies a change of modality only to a window that is not showing yet.
  if (widget_->isVisible()) widget_->hide();
  widget_->setWindowModality(Qt::ApplicationModal);
  Show();
  QEventLoop loop;
  modalLoop_ = &loop;
  if (g_modalHook) QMetaObject::invokeMethod(&loop, [this] { g_modalHook(*this); }, Qt::QueuedConnection);
  loop.exec();
  if (!alive) return;  // closed and destroyed meanwhile
  modalLoop_ = nullptr;
  widget_->setWindowModality(Qt::NonModal);
}

void Window::Hide() {
  widget_->hide();
  if (modalLoop_) modalLoop_->quit();
}

void Window::Close() { CloseRequested(false); }

bool Window::IsVisible() const { return widget_->isVisible(); }

std::string Window::Title() const { return widget_->windowTitle().toStdString(); }

bool Window::CloseRequested(bool appQuitting) {
  if (closing_ || destroyed_) return true;
  closing_ = true;
  if (Event_CancelClose(appQuitting)) {
    closing_ = false;
    return false;
  }
  Destroy();
  return true;
}

void Window::Destroy() {
  destroyed_ = true;
  Forget(this);
  widget_->hide();
  if (modalLoop_) modalLoop_->quit();
  QMetaObject::invokeMethod(QCoreApplication::instance(), [this] { delete this; }, Qt::QueuedConnection);
}

std::vector<Window*> OpenWindows() { return g_openWindows; }

bool IsOpen(const Window* window) {
  return std::find(g_openWindows.begin(), g_openWindows.end(), window) != g_openWindows.end();
}

namespace testing {
void SetModalHook(std::function<void(Window&)> hook) { g_modalHook = std::move(hook); }
}  // namespace testing

namespace detail {
Window* FindImplicit(std::type_index type) {
  auto it = Implicits().find(type);
  return it == Implicits().end() ? nullptr : it->second;
}
void RegisterImplicit(std::type_index type, Window* window) { Implicits()[type] = window; }
}  // namespace detail

}  // namespace fw
