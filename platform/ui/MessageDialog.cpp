#include "platform/ui/MessageDialog.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "platform/ui/Window.h"

namespace fw {

MessageDialogButton* MessageDialog::ShowModalWithin(Window* parent) {
  QMessageBox box(parent ? parent->Widget() : nullptr);
  box.setWindowModality(Qt::ApplicationModal);
  box.setObjectName("MessageDialog");
  switch (Icon) {
    case MessageIcon::Note: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Caution: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Stop: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
  }
  if (!Title.empty()) box.setWindowTitle(QString::fromStdString(Title));
  // Texts may come from outside (a server's reply): never read them as markup or links.
  box.setTextFormat(Qt::PlainText);
  box.setText(QString::fromStdString(Message));
  box.setInformativeText(QString::fromStdString(Explanation));
  if (auto* informative = box.findChild<QLabel*>("qt_msgbox_informativelabel")) informative->setTextFormat(Qt::PlainText);

  // Buttons from the right: action, cancel, then the alternate at the far left.
  QPushButton* action = box.addButton(QString::fromStdString(ActionButton.Caption), QMessageBox::AcceptRole);
  QPushButton* cancel = nullptr;
  QPushButton* alternate = nullptr;
  if (CancelButton.Visible) cancel = box.addButton(QString::fromStdString(CancelButton.Caption), QMessageBox::RejectRole);
  if (AlternateActionButton.Visible)
    alternate = box.addButton(QString::fromStdString(AlternateActionButton.Caption), QMessageBox::DestructiveRole);
  box.setDefaultButton(action);
  if (cancel) box.setEscapeButton(cancel);
  box.exec();

  QAbstractButton* pressed = box.clickedButton();
  if (pressed == action) return &ActionButton;
  if (alternate && pressed == alternate) return &AlternateActionButton;
  if (cancel && pressed == cancel) return &CancelButton;
  return nullptr;
}

}  // namespace fw
