#include "platform/ui/Toolbar.h"

#include <QAction>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>

#include "platform/core/Log.h"
#include "platform/ui/Picture.h"
#include "platform/ui/Window.h"

namespace fw {

void ToolItem::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (action_) action_->setEnabled(enabled);
}

void ToolItem::SetIcon(std::shared_ptr<Picture> icon) {
  icon_ = std::move(icon);
  if (action_) action_->setIcon(icon_ ? QIcon(QPixmap::fromImage(icon_->Composed())) : QIcon());
}

Toolbar::Toolbar(Window& window, const ControlDecl& decl) : Control(window, decl), strip_(new QToolBar(window.Widget())) {
  strip_->setMovable(false);
  strip_->setFloatable(false);
  strip_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  strip_->setIconSize(QSize(41, 38));
  strip_->setContextMenuPolicy(Qt::PreventContextMenu);
  QFont font = DeclaredFont(FontDecl{});
  strip_->setFont(font);
  window.Widget()->addToolBar(Qt::TopToolBarArea, strip_);
  Adopt(strip_);
  // The strip sits above the content area, not at the declared rectangle.
  strip_->setGeometry(QRect());
  strip_->setVisible(decl.Visible);
}

void Toolbar::Append(ToolItem* item) {
  items_.push_back(item);
  QAction* action = nullptr;
  switch (item->Style) {
    case ToolItemStyle::Separator:
      action = strip_->addSeparator();
      break;
    case ToolItemStyle::FixedSpace:
    case ToolItemStyle::FlexibleSpace: {
      auto* space = new QWidget(strip_);
      if (item->Style == ToolItemStyle::FlexibleSpace)
        space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
      else
        space->setFixedWidth(16);
      action = strip_->addWidget(space);
      break;
    }
    default:
      action = strip_->addAction(QString::fromStdString(item->Caption));
      QObject::connect(action, &QAction::triggered, [this, item] { RunCatching("a toolbar item", [&] { Action.Raise(item); }); });
      // Tab reaches it and Space presses it; a click leaves the focus in the field being typed in.
      strip_->widgetForAction(action)->setFocusPolicy(Qt::TabFocus);
      break;
  }
  action->setObjectName(QString::fromStdString(item->Name));
  action->setText(QString::fromStdString(item->Caption));
  if (!item->HelpTag.empty()) action->setToolTip(QString::fromStdString(item->HelpTag));
  item->action_ = action;
  item->SetEnabled(item->enabled_);
  item->SetIcon(item->icon_);
}

std::vector<QWidget*> Toolbar::Buttons() const {
  std::vector<QWidget*> buttons;
  for (ToolItem* item : items_)
    if (item->Style == ToolItemStyle::Button && item->action_) buttons.push_back(strip_->widgetForAction(item->action_));
  return buttons;
}

}  // namespace fw
