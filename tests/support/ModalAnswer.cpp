#include "tests/support/ModalAnswer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>

namespace testsupport {
namespace {

QString Plain(QString s) { return s.remove('&'); }

QAbstractButton* FindButton(QWidget* window, const QString& caption) {
  for (auto* b : window->findChildren<QAbstractButton*>())
    if (b->isVisible() && Plain(b->text()) == Plain(caption)) return b;
  return nullptr;
}

void Poll(QString caption, std::shared_ptr<ModalSeen> seen, std::shared_ptr<QElapsedTimer> clock, int timeoutMs,
          std::function<void()> then) {
  QWidget* modal = QApplication::activeModalWidget();
  QAbstractButton* button = modal ? FindButton(modal, caption) : nullptr;
  if (!button) {
    if (clock->elapsed() > timeoutMs) return;
    QTimer::singleShot(10, [=] { Poll(caption, seen, clock, timeoutMs, then); });
    return;
  }
  seen->title = modal->windowTitle();
  for (auto* l : modal->findChildren<QLabel*>()) {
    if (l->text().isEmpty()) continue;
    seen->texts << l->text();
    const Qt::TextFormat format = l->textFormat();
    if (format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(l->text()))) seen->markup << l->text();
  }
  for (auto* b : modal->findChildren<QAbstractButton*>())
    if (b->isVisible()) seen->buttons << Plain(b->text());
  seen->answered = true;
  button->click();
  if (then) QTimer::singleShot(0, then);
}

}  // namespace

std::shared_ptr<ModalSeen> AnswerNextModal(const QString& caption, int timeoutMs) {
  auto seen = std::make_shared<ModalSeen>();
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QTimer::singleShot(0, [=] { Poll(caption, seen, clock, timeoutMs, nullptr); });
  return seen;
}

std::vector<std::shared_ptr<ModalSeen>> AnswerModals(const QStringList& captions, int timeoutMs) {
  std::vector<std::shared_ptr<ModalSeen>> seen;
  for (qsizetype i = 0; i < captions.size(); ++i) seen.push_back(std::make_shared<ModalSeen>());
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  // Each answer arms the next one, so that one modal window never takes two answers.
  // The pending callbacks own the chain; the chain refers to itself only weakly, so it is
  // freed once its last answer is given or its time runs out.
  auto step = std::make_shared<std::function<void(qsizetype)>>();
  std::weak_ptr<std::function<void(qsizetype)>> self = step;
  *step = [=](qsizetype i) {
    if (i >= captions.size()) return;
    auto next = [chain = self.lock(), i] { (*chain)(i + 1); };
    Poll(captions[i], seen[size_t(i)], clock, timeoutMs, next);
  };
  QTimer::singleShot(0, [=] { (*step)(0); });
  return seen;
}

}  // namespace testsupport
