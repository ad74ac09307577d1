#include "platform/ui/EditField.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include "platform/core/Log.h"
#include "platform/core/Strings.h"
#include "platform/ui/Window.h"

namespace fw {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Cuts text to at most limit bytes of UTF-8 without splitting a character.
QString Limited(const QString& text, int limit) {
  if (limit <= 0) return text;
  QString out;
  int bytes = 0;
  for (qsizetype i = 0; i < text.size();) {
    qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    QString ch = text.mid(i, n);
    int b = int(ch.toUtf8().size());
    if (bytes + b > limit) break;
    out += ch;
    bytes += b;
    i += n;
  }
  return out;
}

// Positions count characters (code points), as fw::Len does; Qt counts UTF-16 units.
int ToUnits(const QString& text, int characters) {
  int units = 0;
  for (int c = 0; c < characters && units < text.size(); ++c) units += text[units].isHighSurrogate() ? 2 : 1;
  return std::min<int>(units, int(text.size()));
}

int ToCharacters(const QString& text, int units) {
  int characters = 0;
  for (int u = 0; u < units && u < text.size(); ++characters) u += text[u].isHighSurrogate() ? 2 : 1;
  return characters;
}

}  // namespace

EditField::EditField(Window& window, const ControlDecl& decl, const EditFieldDecl& field)
    : Control(window, decl), decl_(field) {
  QWidget* widget;
  if (field.Multiline) {
    text_ = new QPlainTextEdit(window.Content());
    text_->setReadOnly(field.ReadOnly);
    text_->setTabChangesFocus(true);
    text_->setVerticalScrollBarPolicy(field.ScrollbarVertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setPlainText(Q(field.Text));
    if (!field.Border) text_->setFrameShape(QFrame::NoFrame);
    QObject::connect(text_, &QPlainTextEdit::textChanged, [this] {
      if (decl_.LimitText > 0 && text_->toPlainText().toUtf8().size() > decl_.LimitText) {
        QSignalBlocker block(text_);
        text_->setPlainText(Limited(text_->toPlainText(), decl_.LimitText));
        text_->moveCursor(QTextCursor::End);
      }
      RunCatching("a text field", [this] { Changed(); });
    });
    widget = text_;
  } else {
    line_ = new QLineEdit(window.Content());
    line_->setReadOnly(field.ReadOnly);
    line_->setFrame(field.Border);
    if (field.Password) line_->setEchoMode(QLineEdit::Password);
    line_->setText(Q(field.Text));
    QObject::connect(line_, &QLineEdit::textChanged, [this](const QString& t) {
      if (decl_.LimitText > 0 && t.toUtf8().size() > decl_.LimitText) {
        QSignalBlocker block(line_);
        line_->setText(Limited(t, decl_.LimitText));
      }
      RunCatching("a text field", [this] { Changed(); });
    });
    widget = line_;
  }
  widget->setFocusPolicy(Qt::StrongFocus);
  ApplyFont(widget, field.Font);
  ApplyColors(widget, field.TextColor, field.BackColor);
  Adopt(widget);
}

void EditField::Changed() { TextChange.Raise(); }

std::string EditField::Text() const {
  return (text_ ? text_->toPlainText() : line_->text()).toStdString();
}

void EditField::SetText(const std::string& text) {
  QString t = Limited(Q(text), decl_.LimitText);
  bool same = t.toStdString() == Text();
  {
    QSignalBlocker block(text_ ? static_cast<QObject*>(text_) : static_cast<QObject*>(line_));
    if (text_)
      text_->setPlainText(t);
    else
      line_->setText(t);
  }
  // Exactly one TextChange for every assignment that changes the text.
  if (!same) Changed();
}

void EditField::SetReadOnly(bool readOnly) {
  decl_.ReadOnly = readOnly;
  if (text_)
    text_->setReadOnly(readOnly);
  else
    line_->setReadOnly(readOnly);
}

int EditField::SelStart() const {
  QString all = text_ ? text_->toPlainText() : line_->text();
  int units = text_ ? text_->textCursor().selectionStart()
                    : (line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition());
  return ToCharacters(all, units);
}

void EditField::SetSelStart(int start) {
  QString all = text_ ? text_->toPlainText() : line_->text();
  int units = ToUnits(all, std::max(start, 0));
  if (text_) {
    QTextCursor c = text_->textCursor();
    c.setPosition(units);
    text_->setTextCursor(c);
  } else {
    line_->setCursorPosition(units);
  }
}

std::string EditField::SelText() const {
  if (text_) return text_->textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n').toStdString();
  return line_->selectedText().toStdString();
}

void EditField::SetSelText(const std::string& text) {
  if (text_) {
    text_->textCursor().insertText(Q(text));
  } else {
    line_->insert(Q(text));
  }
}

}  // namespace fw
