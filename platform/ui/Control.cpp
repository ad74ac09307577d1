#include "platform/ui/Control.h"

#include <QFontDatabase>
#include <QPalette>

#include "platform/ui/Window.h"

namespace fw {

Control::Control(Window& window, const ControlDecl& decl) : window_(window), decl_(decl) {}

Control::~Control() = default;

void Control::Adopt(QWidget* widget) {
  widget_ = widget;
  widget->setObjectName(QString::fromStdString(decl_.Name));
  widget->setGeometry(decl_.Left, decl_.Top, decl_.Width, decl_.Height);
  widget->setEnabled(decl_.Enabled);
  if (!decl_.HelpTag.empty()) widget->setToolTip(QString::fromStdString(decl_.HelpTag));
  if (!decl_.AccessibleName.empty()) widget->setAccessibleName(QString::fromStdString(decl_.AccessibleName));
  if (decl_.TabIndex < 0) widget->setFocusPolicy(Qt::NoFocus);
  widget->setVisible(decl_.Visible);
}

bool Control::Visible() const { return widget_ && widget_->isVisibleTo(widget_->parentWidget()); }
bool Control::Enabled() const { return widget_ && widget_->isEnabled(); }
void Control::SetEnabled(bool enabled) {
  if (widget_) widget_->setEnabled(enabled);
}

void Control::ApplyFont(QWidget* widget, const FontDecl& font) { widget->setFont(DeclaredFont(font)); }

void Control::ApplyColors(QWidget* widget, Color text, std::optional<Color> back) {
  QPalette p = widget->palette();
  QColor t(text.Red, text.Green, text.Blue);
  p.setColor(QPalette::Text, t);
  p.setColor(QPalette::WindowText, t);
  if (back) {
    QColor b(back->Red, back->Green, back->Blue);
    p.setColor(QPalette::Base, b);
    p.setColor(QPalette::Window, b);
  }
  widget->setPalette(p);
}

QFont DeclaredFont(const FontDecl& decl) {
  static const QStringList installed = QFontDatabase::families();
  QString family = QString::fromStdString(decl.TextFont);
  QFont font;
  if (family != "System" && installed.contains(family)) {
    font.setFamily(family);
  } else if (family.contains(QStringLiteral("等幅")) || family.contains("Mono", Qt::CaseInsensitive) ||
             family.contains("Courier", Qt::CaseInsensitive)) {
    font.setFamilies({"IPAGothic", "Noto Sans Mono CJK JP", "DejaVu Sans Mono", "Monospace"});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
  } else {
    font.setFamilies({"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "DejaVu Sans", "Sans Serif"});
  }
  font.setPixelSize(decl.TextSize > 0 ? decl.TextSize : 12);
  font.setBold(decl.Bold);
  font.setItalic(decl.Italic);
  font.setUnderline(decl.Underline);
  return font;
}

}  // namespace fw
