#pragma once
// A text field: one line (QLineEdit) or several (QPlainTextEdit). Setting Text raises
// TextChange before it returns, as typing does.
#include <optional>
#include <string>

#include "platform/ui/Control.h"

class QLineEdit;
class QPlainTextEdit;

namespace fw {

struct EditFieldDecl {
  bool Multiline = false;
  bool ReadOnly = false;
  bool Password = false;  // masked: shows no text
  bool Border = true;
  bool ScrollbarVertical = true;
  int LimitText = 0;  // bytes of UTF-8; 0 for none
  std::optional<Color> BackColor;
  Color TextColor{};
  std::string Text;
  FontDecl Font;
};

class EditField : public Control {
 public:
  EditField(Window& window, const ControlDecl& decl, const EditFieldDecl& field);

  std::string Text() const;
  void SetText(const std::string& text);
  bool ReadOnly() const { return decl_.ReadOnly; }
  // The user can no longer change the text (the program still can); it can still be selected.
  void SetReadOnly(bool readOnly);
  bool Password() const { return decl_.Password; }
  // Positions count characters from 0.
  int SelStart() const;
  void SetSelStart(int start);
  std::string SelText() const;
  // Replaces the selection (inserts at the caret when nothing is selected).
  void SetSelText(const std::string& text);
  int LimitText() const { return decl_.LimitText; }

  Event<void()> TextChange;

 private:
  void Changed();
  EditFieldDecl decl_;
  QLineEdit* line_ = nullptr;
  QPlainTextEdit* text_ = nullptr;
};

}  // namespace fw
