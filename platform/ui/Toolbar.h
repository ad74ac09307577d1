#pragma once
// The window's toolbar strip with its items, appended in order.
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Control.h"

class QAction;
class QToolBar;

namespace fw {

class Picture;

// A flexible space pushes the items that follow it to the right end.
enum class ToolItemStyle { Button = 0, Separator = 1, FixedSpace = 5, FlexibleSpace = 6 };

class ToolItem {
 public:
  std::string Name;
  ToolItemStyle Style = ToolItemStyle::Button;
  std::string Caption;
  std::string HelpTag;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const std::shared_ptr<Picture>& Icon() const { return icon_; }
  void SetIcon(std::shared_ptr<Picture> icon);
  // The Qt action that shows the item (nullptr before the item is appended).
  QAction* Action() const { return action_; }

 private:
  friend class Toolbar;
  bool enabled_ = true;
  std::shared_ptr<Picture> icon_;
  QPointer<QAction> action_;
};

using ToolButton = ToolItem;

class Toolbar : public Control {
 public:
  Toolbar(Window& window, const ControlDecl& decl);

  void Append(ToolItem* item);
  int Count() const { return int(items_.size()); }
  ToolItem* Item(int i) const { return i >= 0 && i < Count() ? items_[size_t(i)] : nullptr; }
  QToolBar* Strip() const { return strip_; }
  // The buttons' widgets, in item order.
  std::vector<QWidget*> Buttons() const;

  Event<void(ToolItem*)> Action;

 private:
  QToolBar* strip_;
  std::vector<ToolItem*> items_;
};

}  // namespace fw
