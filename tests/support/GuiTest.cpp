#include "tests/support/GuiTest.h"

#include <QApplication>
#include <gtest/gtest.h>

#include "platform/ui/MessageDialog.h"

namespace testsupport {
namespace {

QStringList Texts(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& t : texts) list << QString::fromStdString(t);
  return list;
}

}  // namespace

void GuiTest::SetUp() {
  ProgramTest::SetUp();
  fw::testing::SetAlertAnswerer([this](const fw::MessageDialogShown& shown) -> std::string {
    if (script_.empty() || !script_.front().alert) {
      ADD_FAILURE() << "unexpected alert: " << shown.Message << " / " << shown.Explanation;
      return {};
    }
    const QString caption = script_.front().caption;
    std::shared_ptr<AlertSeen> seen = script_.front().alert;
    script_.pop_front();
    seen->title = QString::fromStdString(shown.Title);
    seen->texts = Texts({shown.Message});
    if (!shown.Explanation.empty()) seen->texts << QString::fromStdString(shown.Explanation);
    seen->buttons = Texts(shown.Buttons);
    seen->plain = shown.PlainText;
    seen->answered = seen->buttons.contains(caption);
    EXPECT_TRUE(seen->answered) << "no button " << caption.toStdString() << " on: " << shown.Message;
    return caption.toStdString();
  });
  fw::testing::SetModalHook([this](fw::Window& window) { OnModal(window); });
}

void GuiTest::TearDown() {
  ProgramTest::TearDown();
  fw::testing::SetAlertAnswerer(nullptr);
  fw::testing::SetModalHook(nullptr);
  EXPECT_TRUE(script_.empty()) << script_.size() << " expected modal window(s) never showed";
  script_.clear();
}

std::shared_ptr<AlertSeen> GuiTest::AnswerAlert(const QString& caption) {
  auto seen = std::make_shared<AlertSeen>();
  script_.push_back(Step{caption, seen, nullptr, nullptr});
  return seen;
}

std::vector<std::shared_ptr<AlertSeen>> GuiTest::AnswerAlerts(const QStringList& captions) {
  std::vector<std::shared_ptr<AlertSeen>> seen;
  for (const QString& caption : captions) seen.push_back(AnswerAlert(caption));
  return seen;
}

void GuiTest::OnModal(fw::Window& window) {
  const bool expected = !script_.empty() && script_.front().act;
  if (expected) {
    Step step = script_.front();
    script_.pop_front();
    step.dialog->modal = QApplication::activeModalWidget() == window.Widget();
    step.dialog->acted = step.act(window);
    EXPECT_TRUE(step.dialog->acted) << "another dialog showed: " << window.Title();
  } else {
    ADD_FAILURE() << "unexpected modal window: " << window.Title();
  }
  // A window still up would hold its caller for ever.
  if (fw::IsOpen(&window) && window.IsVisible()) {
    if (expected) ADD_FAILURE() << "the dialog was left open: " << window.Title();
    window.Widget()->close();
  }
}

}  // namespace testsupport
