// The toolbar's icons from the application's pictures, and the buttons' enabled states.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <QToolBar>

#include "platform/ui/Picture.h"
#include "mainwindow/Pictures.h"
#include "tests/mainwindow/SetFixture.h"

namespace {

using settest::SetWindowTest;

class ToolbarIcons : public SetWindowTest {};

TEST_F(ToolbarIcons, PicturesAreLoadedOnceAndKeptUntilReleased) {
  for (auto accessor : {button1, button2, button3, button6, anyMask}) {
    std::shared_ptr<fw::Picture> picture = accessor();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 41);
    EXPECT_EQ(picture->Height(), 38);
    EXPECT_EQ(accessor(), picture) << "kept, not loaded again";
  }
  std::shared_ptr<fw::Picture> before = button1();
  ReleasePictures();
  std::shared_ptr<fw::Picture> after = button1();
  ASSERT_NE(after, nullptr);
  EXPECT_NE(after, before) << "a released picture is loaded afresh";
}

TEST_F(ToolbarIcons, MaskShowsTheTileAndHidesTheCorners) {
  const QImage& mask = anyMask()->Image();
  EXPECT_EQ(qGray(mask.pixel(20, 19)), 0) << "black shows";
  EXPECT_EQ(qGray(mask.pixel(0, 0)), 255) << "white hides";
  EXPECT_EQ(qGray(mask.pixel(40, 37)), 255);
}

TEST_F(ToolbarIcons, FourButtonsGetDistinctIconsWithTheCommonOutline) {
  Open();
  Toolbar1* t = w->Toolbar11;
  fw::ToolItem* buttons[] = {&t->ToolItem1, &t->ToolItem6, &t->ToolItem7, &t->ToolItem3};
  std::vector<QImage> shown;
  for (fw::ToolItem* item : buttons) {
    ASSERT_NE(item->Icon(), nullptr) << item->Name;
    EXPECT_EQ(item->Icon()->Width(), 41);
    EXPECT_EQ(item->Icon()->Height(), 38);
    QImage composed = item->Icon()->Composed();
    EXPECT_EQ(qAlpha(composed.pixel(0, 0)), 0) << item->Name << ": the mask's corner is hidden";
    EXPECT_EQ(qAlpha(composed.pixel(20, 19)), 255) << item->Name;
    EXPECT_FALSE(item->Action()->icon().isNull()) << item->Name;
    shown.push_back(composed);
  }
  for (size_t i = 0; i < shown.size(); ++i)
    for (size_t j = i + 1; j < shown.size(); ++j) EXPECT_NE(shown[i], shown[j]) << i << " and " << j;
  for (fw::ToolItem* plain : {&t->ToolItem4, &t->ToolItem5, &t->ToolItem2}) EXPECT_EQ(plain->Icon(), nullptr);
}

TEST_F(ToolbarIcons, SendButtonsFollowTheSetSelectionAndSettingsStaysEnabled) {
  WriteSet("A", "a@example.com\n", "件名");
  Open();
  Toolbar1* t = w->Toolbar11;
  auto expectStates = [&](bool send, const char* moment) {
    for (fw::ToolItem* item : {&t->ToolItem1, &t->ToolItem6, &t->ToolItem7}) {
      EXPECT_EQ(item->Enabled(), send) << item->Name << " " << moment;
      EXPECT_EQ(item->Action()->isEnabled(), send) << item->Name << " " << moment;
    }
    for (fw::ToolItem* item : {&t->ToolItem3, &t->ToolItem4, &t->ToolItem5, &t->ToolItem2})
      EXPECT_TRUE(item->Action()->isEnabled()) << item->Name << " " << moment;
  };
  expectStates(false, "at start");
  Select("A");
  expectStates(true, "after a selection");
  w->ListBox1->SetListIndex(-1);
  expectStates(false, "after clearing it");
  Select("A");
  expectStates(true, "after selecting again");
}

// Without a mouse: Tab reaches the buttons after the fields, passing a disabled one, and Space
// presses the one that has the focus. A click leaves the focus in the field being typed in.
TEST_F(ToolbarIcons, TabReachesTheButtonsAndSpaceSends) {
  testsupport::LocalSmtpServer server;
  ASSERT_TRUE(server.Started());
  WriteSettingsFor(server);
  WriteSet("A", "a@example.com\tA\n", "件名\n様\n本文\n");
  Open();
  w->Widget()->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == w->ListBox1->Widget(); }))
      << "the set list has the focus at start";
  auto button = [&](fw::ToolItem& item) { return w->Toolbar11->Strip()->widgetForAction(item.Action()); };
  w->EditField4->Widget()->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), button(w->Toolbar11->ToolItem3)) << "the disabled ones are passed over";

  Select("A");
  w->EditField2->Widget()->setFocus();
  QTest::mouseClick(button(w->Toolbar11->ToolItem7), Qt::LeftButton);
  EXPECT_EQ(QApplication::focusWidget(), w->EditField2->Widget()) << "a click leaves the focus where it was";
  EXPECT_EQ(CountLabel(), "総数：0");
  QTest::mouseClick(button(w->Toolbar11->ToolItem6), Qt::LeftButton);
  w->EditField4->Widget()->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), button(w->Toolbar11->ToolItem1));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  ASSERT_TRUE(WaitForSendEnd());
  EXPECT_EQ(w->EditField1->Text(), "a@example.com\nSend End.\n");
  EXPECT_EQ(server.Count(), 1);
  for (fw::ToolItem* next : {&w->Toolbar11->ToolItem6, &w->Toolbar11->ToolItem7, &w->Toolbar11->ToolItem3}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), button(*next)) << next->Name;
  }
}

TEST_F(ToolbarIcons, TheStripShowsTheIconsOfASetLoadedWindow) {
  WriteSet("顧客", "yamada@example.com\t山田\nsato@example.com\t佐藤\n", "ご案内\n様\nいつもお世話になっております。\n");
  Open();
  Select("顧客");
  QToolBar* strip = w->Toolbar11->Strip();
  // The send button's picture is blue, the tick-all one green: both show on the strip.
  auto shows = [&](fw::ToolItem& item, auto isColour) {
    QImage shot = strip->widgetForAction(item.Action())->grab().toImage();
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        if (isColour(shot.pixelColor(x, y))) return true;
    return false;
  };
  EXPECT_TRUE(shows(w->Toolbar11->ToolItem1, [](QColor c) { return c.blue() > 180 && c.red() < 100; }));
  EXPECT_TRUE(shows(w->Toolbar11->ToolItem6, [](QColor c) { return c.green() > 150 && c.red() < 100 && c.blue() < 100; }));

  QByteArray dir = qgetenv("POSTARIO_SCREENSHOT_DIR");
  if (!dir.isEmpty()) {
    EXPECT_TRUE(w->Widget()->grab().save(QString::fromUtf8(dir) + "/window1_set.png"));
  }
}

}  // namespace
