// The main window as declared: controls under their names at their rectangles, captions,
// colours, tab order, the read-only log and the toolbar strip.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QWidget>

#include "mainwindow/Window1.h"
#include "mainwindow/Toolbar1.h"
#include "tests/support/GuiTest.h"

namespace {

class Window1Layout : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    Start();
    w = Window1::Get();
  }
  Window1* w = nullptr;
};

struct Declared {
  const char* name;
  int left, top, width, height;
};

TEST_F(Window1Layout, WindowIsTitledFixedAndShown) {
  EXPECT_EQ(w->Title(), "ポスタリオ");
  EXPECT_TRUE(w->IsVisible());
  EXPECT_EQ(w->Content()->size(), QSize(1000, 640));
  QMainWindow* main = w->Widget();
  EXPECT_FALSE(main->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(main->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(main->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(main->minimumSize(), main->maximumSize()) << "the window cannot be resized";
  EXPECT_EQ(w->Content()->palette().color(QPalette::Window), QColor(0xA5, 0xA5, 0xA5));
  EXPECT_EQ(Window1::Get(), w) << "the accessor gives the one instance";
}

TEST_F(Window1Layout, ControlsStandAtTheirDeclaredRectangles) {
  const Declared controls[] = {
      {"ListBox1", 0, -1, 119, 424},      {"ListBox2", 120, -1, 370, 424},  {"EditField1", 120, 424, 369, 196},
      {"StaticText1", 15, 440, 100, 20},  {"GroupBox1", 5, 470, 110, 129},  {"ProgressBar1", 10, 515, 100, 20},
      {"ProgressBar2", 10, 559, 100, 20}, {"StaticText3", 12, 500, 50, 20}, {"StaticText4", 12, 544, 70, 20},
      {"EditField2", 491, 80, 507, 540},  {"StaticText2", 495, 63, 514, 20}, {"StaticText5", 490, 10, 50, 20},
      {"StaticText6", 490, 40, 50, 20},   {"EditField3", 540, 7, 430, 22},  {"EditField4", 540, 37, 60, 22},
  };
  for (const Declared& d : controls) {
    fw::Control* c = w->ControlNamed(d.name);
    ASSERT_NE(c, nullptr) << d.name;
    EXPECT_EQ(c->Widget()->parentWidget(), w->Content()) << d.name;
    EXPECT_EQ(c->Widget()->geometry(), QRect(d.left, d.top, d.width, d.height)) << d.name;
    EXPECT_TRUE(c->Widget()->isVisible()) << d.name;
  }
  QWidget* line = w->ControlNamed("Line1")->Widget();
  EXPECT_EQ(line->geometry(), QRect(0, 620, 1000, 1));
  EXPECT_EQ(line->palette().color(QPalette::Window), QColor(0x59, 0x59, 0x59));
  EXPECT_EQ(w->Controls().size(), 17u) << "seventeen visual controls; the SMTP client is the eighteenth";
}

TEST_F(Window1Layout, CaptionsFontsAndColours) {
  EXPECT_EQ(w->StaticText1->Text(), "総数：");
  EXPECT_EQ(w->StaticText3->Text(), "全体");
  EXPECT_EQ(w->StaticText4->Text(), "各メール");
  EXPECT_EQ(w->StaticText5->Text(), "題名：");
  EXPECT_EQ(w->StaticText6->Text(), "敬称：");
  EXPECT_EQ(w->StaticText2->Text().size(), 80u);
  EXPECT_EQ(w->StaticText2->Text().substr(0, 10), "----+----1");
  EXPECT_EQ(w->GroupBox1->Caption(), "進捗状況");
  EXPECT_TRUE(w->StaticText5->Label()->alignment() & Qt::AlignRight);
  EXPECT_TRUE(w->StaticText1->Label()->alignment() & Qt::AlignLeft);

  QFontInfo ruler(w->StaticText2->Widget()->font());
  QFontMetrics metrics(w->StaticText2->Widget()->font());
  EXPECT_EQ(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W')) << "monospaced: " << ruler.family().toStdString();
  EXPECT_EQ(metrics.horizontalAdvance("全"), 2 * metrics.horizontalAdvance('-')) << "a Japanese glyph fills two columns";
  EXPECT_EQ(ruler.pixelSize(), 12);
  QFontInfo body(w->EditField2->Widget()->font());
  EXPECT_EQ(body.family(), ruler.family()) << "the ruler and the body share one monospaced font";

  EXPECT_EQ(w->EditField1->Widget()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xE1));
  EXPECT_EQ(w->EditField2->Widget()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xFF));
}

TEST_F(Window1Layout, StartsEmptyWithBothProgressBarsAtZeroOfHundred) {
  EXPECT_EQ(w->ListBox1->ListCount(), 0);
  EXPECT_EQ(w->ListBox1->ListIndex(), -1);
  EXPECT_EQ(w->ListBox2->ListCount(), 0);
  EXPECT_EQ(w->ListBox2->ColumnCount(), 3);
  EXPECT_EQ(w->ListBox2->Heading(0), "送");
  EXPECT_EQ(w->ListBox2->Heading(1), "メールアドレス");
  EXPECT_EQ(w->ListBox2->Heading(2), "宛先名");
  EXPECT_TRUE(w->ListBox2->View()->horizontalHeader()->isVisible());
  EXPECT_FALSE(w->ListBox1->View()->horizontalHeader()->isVisible());
  // "6%,55%,*" of the list's width: the name column takes the rest.
  auto* view = w->ListBox2->View();
  int total = view->viewport()->width();
  EXPECT_EQ(view->columnWidth(0), int(total * 0.06));
  EXPECT_EQ(view->columnWidth(1), int(total * 0.55));
  for (fw::ProgressBar* bar : {w->ProgressBar1, w->ProgressBar2}) {
    EXPECT_EQ(bar->Value(), 0);
    EXPECT_EQ(bar->Maximum(), 100);
  }
  for (fw::EditField* f : {w->EditField1, w->EditField2, w->EditField3, w->EditField4}) EXPECT_EQ(f->Text(), "");
}

TEST_F(Window1Layout, FocusFollowsTabIndexAndTheLogTakesNoTyping) {
  const char* order[] = {"ListBox1", "ListBox2", "EditField1", "EditField2", "EditField3", "EditField4"};
  w->Widget()->activateWindow();
  w->ControlNamed(order[0])->Widget()->setFocus();
  for (size_t i = 1; i < std::size(order); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* focused = QApplication::focusWidget();
    QWidget* expected = w->ControlNamed(order[i])->Widget();
    EXPECT_TRUE(focused == expected || expected->isAncestorOf(focused)) << "Tab after " << order[i - 1];
  }

  auto* log = qobject_cast<QPlainTextEdit*>(w->EditField1->Widget());
  ASSERT_NE(log, nullptr);
  EXPECT_TRUE(log->isReadOnly());
  log->setFocus();
  QTest::keyClicks(log, "typed");
  EXPECT_EQ(w->EditField1->Text(), "");

  auto* subject = qobject_cast<QLineEdit*>(w->EditField3->Widget());
  ASSERT_NE(subject, nullptr);
  subject->setFocus();
  QTest::keyClicks(subject, "abc");
  EXPECT_EQ(w->EditField3->Text(), "abc");
}

// What a screen reader says of each control, and of each tick of the recipient list.
TEST_F(Window1Layout, AScreenReaderNamesEveryListFieldAndBarAndEachTick) {
  const std::pair<const char*, const char*> named[] = {
      {"ListBox1", "セット"}, {"ListBox2", "宛先"}, {"EditField1", "ログ"},     {"EditField2", "本文"},
      {"EditField3", "題名"}, {"EditField4", "敬称"}, {"ProgressBar1", "全体"}, {"ProgressBar2", "各メール"}};
  for (const auto& [control, name] : named) {
    QAccessibleInterface* widget = QAccessible::queryAccessibleInterface(w->ControlNamed(control)->Widget());
    EXPECT_EQ(widget->text(QAccessible::Name).toStdString(), name) << control;
  }
  EXPECT_EQ(w->StaticText5->Label()->buddy(), w->EditField3->Widget()) << "the label beside the field is linked to it";

  const char* addresses[] = {"a@example.jp", "b@example.jp", ""};
  for (int row = 0; row < 3; ++row) {
    w->ListBox2->AddRow("");
    w->ListBox2->SetCell(row, 1, addresses[row]);
    if (row < 2) w->ListBox2->SetCellType(row, 0, fw::ListCellType::Checkbox);
  }
  w->ListBox2->SetCellCheck(0, 0, true);
  QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(w->ListBox2->View())->tableInterface();
  ASSERT_NE(table, nullptr);
  for (int row = 0; row < 3; ++row) {
    QAccessibleInterface* tick = table->cellAt(row, 0);
    ASSERT_NE(tick, nullptr);
    EXPECT_EQ(tick->state().checkable, row < 2) << "row " << row;
    EXPECT_EQ(tick->state().checked, row == 0) << "row " << row;
    EXPECT_EQ(tick->text(QAccessible::Name).toStdString(), addresses[row]) << "row " << row;
  }
  // Toggling it is the user's tick: the count follows.
  table->cellAt(1, 0)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(w->ListBox2->CellCheck(1, 0));
  EXPECT_EQ(w->StaticText1->Text(), "総数：0") << "pMax is 0: no set was loaded";
}

TEST_F(Window1Layout, ToolbarStripShowsSevenItemsInOrderAboveTheContent) {
  QToolBar* strip = w->Toolbar11->Strip();
  ASSERT_TRUE(strip->isVisible());
  EXPECT_EQ(w->Widget()->toolBarArea(strip), Qt::TopToolBarArea);
  QList<QAction*> actions = strip->actions();
  ASSERT_EQ(actions.size(), 7);
  const char* names[] = {"ToolItem1", "ToolItem4", "ToolItem5", "ToolItem6", "ToolItem7", "ToolItem2", "ToolItem3"};
  const char* captions[] = {"送信", "Untitled", "Untitled", "全チェック", "全クリア", "Untitled", "送信設定"};
  const int styles[] = {0, 1, 5, 0, 0, 6, 0};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(actions[i]->objectName().toStdString(), names[i]);
    EXPECT_EQ(w->Toolbar11->Item(i)->Name, names[i]);
    EXPECT_EQ(w->Toolbar11->Item(i)->Caption, captions[i]);
    EXPECT_EQ(int(w->Toolbar11->Item(i)->Style), styles[i]);
  }
  EXPECT_TRUE(actions[1]->isSeparator());
  // The flexible space pushes 送信設定 to the right end of the strip.
  QWidget* settings = strip->widgetForAction(actions[6]);
  QWidget* clearAll = strip->widgetForAction(actions[4]);
  EXPECT_GT(settings->x() - (clearAll->x() + clearAll->width()), 300);
  EXPECT_LE(strip->geometry().bottom(), w->Content()->mapTo(w->Widget(), QPoint(0, 0)).y());
}

TEST_F(Window1Layout, ToolbarActionReachesTheWindowHandlerWithTheItem) {
  fw::ToolItem* pressed = nullptr;
  w->Toolbar11->Action.Bind([&](fw::ToolItem* item) { pressed = item; });
  w->Toolbar11->ToolItem3.Action()->trigger();
  EXPECT_EQ(pressed, &w->Toolbar11->ToolItem3);
}

TEST_F(Window1Layout, PictureOfTheWindow) {
  QPixmap shot = w->Widget()->grab();
  EXPECT_GE(shot.width(), 1000);
  EXPECT_GE(shot.height(), 640);
  QByteArray dir = qgetenv("POSTARIO_SCREENSHOT_DIR");
  if (!dir.isEmpty()) {
    EXPECT_TRUE(shot.save(QString::fromUtf8(dir) + "/window1.png"));
  }
}

}  // namespace
