#include "platform/ui/BasicControls.h"

#include <QAbstractAnimation>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>

#include "platform/core/Log.h"
#include "platform/ui/Window.h"

namespace fw {

StaticText::StaticText(Window& window, const ControlDecl& decl, const StaticTextDecl& text)
    : Control(window, decl), label_(new QLabel(window.Content())) {
  label_->setText(QString::fromStdString(text.Text));
  label_->setWordWrap(text.Multiline);
  Qt::Alignment h = text.TextAlign == TextAlignment::Right    ? Qt::AlignRight
                    : text.TextAlign == TextAlignment::Center ? Qt::AlignHCenter
                                                              : Qt::AlignLeft;
  label_->setAlignment(h | Qt::AlignTop);
  ApplyFont(label_, text.Font);
  ApplyColors(label_, text.TextColor, std::nullopt);
  Adopt(label_);
}

std::string StaticText::Text() const { return label_->text().toStdString(); }
void StaticText::SetText(const std::string& text) { label_->setText(QString::fromStdString(text)); }

void StaticText::Names(Control& control) {
  label_->setBuddy(control.Widget());
  QString name = label_->text();
  if (name.endsWith(u'：') || name.endsWith(u':')) name.chop(1);
  control.Widget()->setAccessibleName(name);
}

GroupBox::GroupBox(Window& window, const ControlDecl& decl, const GroupBoxDecl& box)
    : Control(window, decl), box_(new QGroupBox(window.Content())) {
  box_->setTitle(QString::fromStdString(box.Caption));
  ApplyFont(box_, box.Font);
  Adopt(box_);
}

std::string GroupBox::Caption() const { return box_->title().toStdString(); }

Line::Line(Window& window, const ControlDecl& decl, const LineDecl& line) : Control(window, decl) {
  auto* frame = new QFrame(window.Content());
  frame->setFrameShape(QFrame::NoFrame);
  frame->setAutoFillBackground(true);
  QPalette p = frame->palette();
  p.setColor(QPalette::Window, QColor(line.LineColor.Red, line.LineColor.Green, line.LineColor.Blue));
  frame->setPalette(p);
  Adopt(frame);
  int w = std::max(line.BorderWidth, 1);
  frame->setGeometry(std::min(line.X1, line.X2), std::min(line.Y1, line.Y2),
                     std::max(std::abs(line.X2 - line.X1), w), std::max(std::abs(line.Y2 - line.Y1), w));
}

ProgressBar::ProgressBar(Window& window, const ControlDecl& decl, const ProgressBarDecl& bar)
    : Control(window, decl), bar_(new QProgressBar(window.Content())), value_(bar.Value), maximum_(bar.Maximum) {
  bar_->setTextVisible(false);
  Apply();
  Adopt(bar_);
}

void ProgressBar::SetValue(int value) {
  value_ = value;
  Apply();
}

void ProgressBar::SetMaximum(int maximum) {
  maximum_ = maximum;
  Apply();
}

void ProgressBar::Apply() {
  bar_->setRange(0, std::max(maximum_, 0));
  if (maximum_ <= 0) return;
  bar_->setValue(std::clamp(value_, 0, maximum_));
  // The style stops its busy animation (a child of the bar) only when it paints a filled part:
  // ended here, an empty bar does not go on repainting the window 60 times a second.
  qDeleteAll(bar_->findChildren<QAbstractAnimation*>(Qt::FindDirectChildrenOnly));
}

PushButton::PushButton(Window& window, const ControlDecl& decl, const PushButtonDecl& button)
    : Control(window, decl), button_(new QPushButton(window.Content())) {
  button_->setText(QString::fromStdString(button.Caption));
  ApplyFont(button_, button.Font);
  QObject::connect(button_, &QPushButton::clicked, [this] { RunCatching("a button", [this] { Action.Raise(); }); });
  if (button.Default) {
    button_->setDefault(true);
    for (auto key : {Qt::Key_Return, Qt::Key_Enter}) {
      auto* s = new QShortcut(QKeySequence(key), window.Widget());
      QObject::connect(s, &QShortcut::activated, [this] { Push(); });
    }
  }
  if (button.Cancel) {
    auto* s = new QShortcut(QKeySequence(Qt::Key_Escape), window.Widget());
    QObject::connect(s, &QShortcut::activated, [this] { Push(); });
  }
  Adopt(button_);
}

std::string PushButton::Caption() const { return button_->text().toStdString(); }

void PushButton::Push() {
  if (button_->isEnabled() && button_->isVisible()) button_->click();
}

}  // namespace fw
