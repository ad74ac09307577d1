#include "platform/ui/MessageDialog.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextDocument>

#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

namespace fw {
namespace {

std::function<std::string(const MessageDialogShown&)> g_answerer;

// Read from the box itself, so that a test sees what the user would.
MessageDialogShown ShownBy(const QMessageBox& box) {
  MessageDialogShown shown{box.windowTitle().toStdString(), box.text().toStdString(),
                           box.informativeText().toStdString(), {}, true};
  for (QAbstractButton* b : box.buttons())
    if (b->isVisible()) shown.Buttons.push_back(b->text().toStdString());
  for (const QLabel* l : box.findChildren<QLabel*>()) {
    const Qt::TextFormat format = l->textFormat();
    if (format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(l->text()))) shown.PlainText = false;
  }
  return shown;
}

void Answer(QMessageBox& box) {
  const QString caption = QString::fromStdString(g_answerer(ShownBy(box)));
  for (QAbstractButton* b : box.buttons())
    if (b->isVisible() && b->text() == caption) {
      b->click();
      return;
    }
  box.done(QDialog::Rejected);
}

}  // namespace

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
  box.setWindowTitle(QString::fromStdString(ShownTitle(Title)));
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
  if (g_answerer) QMetaObject::invokeMethod(&box, [&box] { Answer(box); }, Qt::QueuedConnection);
  box.exec();

  QAbstractButton* pressed = box.clickedButton();
  if (pressed == action) return &ActionButton;
  if (alternate && pressed == alternate) return &AlternateActionButton;
  if (cancel && pressed == cancel) return &CancelButton;
  return nullptr;
}

namespace testing {
void SetAlertAnswerer(std::function<std::string(const MessageDialogShown&)> answerer) { g_answerer = std::move(answerer); }
}  // namespace testing

}  // namespace fw
