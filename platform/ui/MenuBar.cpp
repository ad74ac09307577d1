#include "platform/ui/MenuBar.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

#include "platform/core/Log.h"
#include "platform/ui/Application.h"

namespace fw {
namespace {

QString QtShortcut(const std::string& s) {
  QString q = QString::fromStdString(s);
  q.replace("Cmd+", "Ctrl+");
  return q;
}

// The standard editing commands, carried out in the focused text field.
bool RunEditCommand(const std::string& name) {
  QWidget* w = QApplication::focusWidget();
  // A read-only field is copied from, never changed (Qt's own cut and paste would change it).
  const bool changes = name != "EditCopy" && name != "EditSelectAll";
  if (auto* line = qobject_cast<QLineEdit*>(w)) {
    if (changes && line->isReadOnly()) return true;
    if (name == "EditUndo") line->undo();
    else if (name == "EditCut") line->cut();
    else if (name == "EditCopy") line->copy();
    else if (name == "EditPaste") line->paste();
    else if (name == "EditClear") line->del();
    else if (name == "EditSelectAll") line->selectAll();
    else return false;
    return true;
  }
  if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
    if (changes && text->isReadOnly()) return true;
    if (name == "EditUndo") text->undo();
    else if (name == "EditCut") text->cut();
    else if (name == "EditCopy") text->copy();
    else if (name == "EditPaste") text->paste();
    else if (name == "EditClear") text->textCursor().removeSelectedText();
    else if (name == "EditSelectAll") text->selectAll();
    else return false;
    return true;
  }
  return false;
}

}  // namespace

MenuItem::MenuItem() = default;
MenuItem::~MenuItem() {
  delete action_;
}

void MenuItem::Enable() {
  enabled_ = true;
  Refresh();
}

void MenuItem::Refresh() {
  if (action_) action_->setEnabled(enabled_);
}

void MenuItem::ResetEnabled() {
  enabled_ = AutoEnable;
  Refresh();
  for (auto& c : children_) c->ResetEnabled();
}

void MenuItem::Append(std::unique_ptr<MenuItem> item) {
  MenuItem* raw = item.get();
  children_.push_back(std::move(item));
  if (menu_) menu_->addAction(raw->Action());
}

MenuItem* MenuItem::Child(const std::string& name) const {
  for (auto& c : children_) {
    if (c->Name == name) return c.get();
    if (MenuItem* found = c->Child(name)) return found;
  }
  return nullptr;
}

QAction* MenuItem::Action() {
  if (action_) return action_;
  // A separator is a plain line: no text for a style to draw or a screen reader to read.
  action_ = new QAction(IsSeparator() ? QString() : QString::fromStdString(Text));
  action_->setObjectName(QString::fromStdString(Name));
  action_->setSeparator(IsSeparator());
  if (!KeyboardShortcut.empty() && !IsSeparator()) action_->setShortcut(QKeySequence(QtShortcut(KeyboardShortcut)));
  enabled_ = AutoEnable;
  action_->setEnabled(enabled_);
  QObject::connect(action_, &QAction::triggered, [this] { RunCatching("a menu item", [this] { Choose(); }); });
  return action_;
}

void MenuItem::Choose() {
  if (Application* app = Application::Instance()) {
    if (app->HandleMenuItem(Name)) return;
  }
  RunEditCommand(Name);
}

void QuitMenuItem::Choose() {
  if (Application* app = Application::Instance()) app->Quit(0);
}

QMenuBar* MenuBar::CreateQMenuBar() {
  auto* bar = new QMenuBar();
  for (auto& menuItem : children_) {
    auto* menu = new QMenu(QString::fromStdString(menuItem->Text), bar);
    menu->setObjectName(QString::fromStdString(menuItem->Name));
    menuItem->menu_ = menu;
    for (auto& item : menuItem->children_) menu->addAction(item->Action());
    QObject::connect(menu, &QMenu::aboutToShow, [this] { RunCatching("a menu update", [this] { UpdateEnabledStates(); }); });
    bar->addMenu(menu);
  }
  UpdateEnabledStates();
  return bar;
}

void MenuBar::UpdateEnabledStates() {
  for (auto& c : children_) c->ResetEnabled();
  if (Application* app = Application::Instance()) app->EnableMenuItems();
}

}  // namespace fw
