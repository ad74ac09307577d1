#pragma once
// Answers modal alerts and dialogs in GUI tests: waits for the active modal window and presses
// the button with the given caption.
#include <QString>
#include <QStringList>
#include <memory>

namespace testsupport {

// What an answered modal window showed.
struct ModalSeen {
  bool answered = false;
  QString title;
  QStringList texts;    // every label's text, in widget order
  QStringList markup;   // those of them that the label renders as rich text
  QStringList buttons;  // every visible button's caption
};

// From the next event-loop turn on, presses the button captioned `caption` (an "&" in the
// caption is ignored) on the first modal window that shows one. The result fills in then.
std::shared_ptr<ModalSeen> AnswerNextModal(const QString& caption, int timeoutMs = 10000);

// Answers the next modals in order, one caption each.
std::vector<std::shared_ptr<ModalSeen>> AnswerModals(const QStringList& captions, int timeoutMs = 10000);

}  // namespace testsupport
