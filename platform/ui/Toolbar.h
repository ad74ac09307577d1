#pragma once
// The window's toolbar strip with its items, appended in order. Item styles: 0 a button,
// 1 a separator, 5 a fixed space, 6 a flexible space (pushes what follows to the right end).
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Control.h"

class QAction;
class QToolBar;

namespace fw {

class Picture;

class ToolItem {
 public:
  static constexpr int StyleButton = 0;
  static constexpr int StyleSeparator = 1;
  static constexpr int StyleFixedSpace = 5;
  static constexpr int StyleFlexibleSpace = 6;

  std::string Name;
  int Style = StyleButton;
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

  Event<void(ToolItem*)> Action;

 private:
  QToolBar* strip_;
  std::vector<ToolItem*> items_;
};

}  // namespace fw
