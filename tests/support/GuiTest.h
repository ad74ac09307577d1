#pragma once
// The base of the GUI tests: the program as at launch, and a script of answers for the modal
// windows the test expects, in their order. Each alert or dialog is answered inside its modal
// loop once it shows. One the script does not expect fails the test and is dismissed, and an
// answer left unused at the end fails it too.
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>

#include "platform/ui/Window.h"
#include "tests/support/AppFixture.h"

namespace testsupport {

// What an answered alert showed.
struct AlertSeen {
  bool answered = false;
  QString title;
  QStringList texts;    // the message, then the explanation when there is one
  QStringList buttons;  // the visible captions
  bool plain = false;   // no text of it is read as markup
};

// Whether a scripted dialog was acted on, and whether it was the modal window then.
struct DialogSeen {
  bool acted = false;
  bool modal = false;
};

class GuiTest : public ProgramTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The next modal window is an alert: press its button of this caption.
  std::shared_ptr<AlertSeen> AnswerAlert(const QString& caption);
  // The next modal windows are alerts: one caption each, in order.
  std::vector<std::shared_ptr<AlertSeen>> AnswerAlerts(const QStringList& captions);
  // The next modal window is a dialog of class Dlg: act on it (type, press a button that ends it).
  template <class Dlg>
  std::shared_ptr<DialogSeen> WhenShows(std::function<void(Dlg&)> act) {
    auto seen = std::make_shared<DialogSeen>();
    script_.push_back(Step{{}, nullptr, seen, [act](fw::Window& w) {
                             auto* dlg = dynamic_cast<Dlg*>(&w);
                             if (dlg) act(*dlg);
                             return dlg != nullptr;
                           }});
    return seen;
  }

 private:
  // One expected modal window: an alert (caption and alert set) or a dialog (dialog and act set).
  struct Step {
    QString caption;
    std::shared_ptr<AlertSeen> alert;
    std::shared_ptr<DialogSeen> dialog;
    std::function<bool(fw::Window&)> act;  // false: the window was not of the expected class
  };
  void OnModal(fw::Window& window);

  std::deque<Step> script_;
};

}  // namespace testsupport
