#pragma once
// Menus. A MenuBar holds the menus, a menu holds its items; every item is found by its name.
// Texts keep "&" (Qt's mnemonic too); "Cmd+" in a shortcut means Ctrl here; "-" is a separator.
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace fw {

class MenuItem {
 public:
  MenuItem();
  virtual ~MenuItem();
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  std::string Name;
  std::string Text;
  std::string KeyboardShortcut;
  // True: the item is enabled at every menu update; False: only when code enables it then.
  bool AutoEnable = true;

  void Enable();
  bool Enabled() const { return enabled_; }
  void Append(std::unique_ptr<MenuItem> item);
  // The item of that name among this item's children and their children; nullptr when none.
  MenuItem* Child(const std::string& name) const;
  int Count() const { return int(children_.size()); }
  MenuItem* Item(int i) const { return i >= 0 && i < Count() ? children_[size_t(i)].get() : nullptr; }
  bool IsSeparator() const { return Text == "-"; }
  // The item's Qt action (made on first use).
  QAction* Action();

 protected:
  // The item was chosen; by default the application's handler of this name runs.
  virtual void Choose();
  friend class Application;
  friend class MenuBar;

 private:
  void Refresh();
  void ResetEnabled();
  std::vector<std::unique_ptr<MenuItem>> children_;
  QPointer<QAction> action_;
  QPointer<QMenu> menu_;
  bool enabled_ = true;
};

// Quits the application (which closes its windows first).
class QuitMenuItem : public MenuItem {
 protected:
  void Choose() override;
};
class PrefsMenuItem : public MenuItem {};
class AppleMenuItem : public MenuItem {};

class MenuBar : public MenuItem {
 public:
  // A Qt menu bar showing these menus (for a window).
  QMenuBar* CreateQMenuBar();
  // Runs before a menu shows: every item's enabled state from AutoEnable, then the
  // application's EnableMenuItems.
  void UpdateEnabledStates();
};

}  // namespace fw
