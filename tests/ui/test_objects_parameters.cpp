// The objects dialog's eight parameter edits: showing, the exit check,
// "OK" and cancelling.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "labeled_edit.h"
#include "test_objects_fixture.h"

using dialog_tests::ObjectsDialog;
using wymianadanych::World;

namespace {

std::vector<TLabeledEdit*> ParameterEdits(TForm5& f) {
  return {f.LabeledEdit4, f.LabeledEdit5, f.LabeledEdit6,  f.LabeledEdit7,
          f.LabeledEdit8, f.LabeledEdit9, f.LabeledEdit10, f.LabeledEdit11};
}

// The eight parameters in the order of LabeledEdit4 to LabeledEdit11.
std::vector<int32_t> Parameters() {
  return {World.PersonSpeed,   World.PersonRange, World.PersonArrivalS, World.PersonMax,
          World.SharkArrivalS, World.SharkMax,    World.SharkSpeed,     World.SharkRange};
}

const std::vector<int32_t> Defaults = {20, 50, 10, 40, 15, 5, 30, 300};

void ClickTab(QTabWidget* tabs, int index) {
  QTabBar* bar = tabs->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

}  // namespace

TEST_F(ObjectsDialog, ParameterEditsShowTheWorldAndKeepTheirKeyboardOrder) {
  ShowActive();
  std::vector<QString> shown;
  for (TLabeledEdit* e : ParameterEdits(form)) shown.push_back(e->Text());
  const std::vector<QString> expected = {"20", "50", "10", "40", "15", "5", "30", "300"};
  EXPECT_EQ(shown, expected);

  // Captions, and the order on screen: arrival, maximum, speed, range.
  EXPECT_EQ(form.LabeledEdit6->Label()->text(), QStringLiteral("Przybywanie (s)"));
  EXPECT_EQ(form.LabeledEdit7->Label()->text(), QStringLiteral("Maksymalna ilość"));
  EXPECT_EQ(form.LabeledEdit4->Label()->text(), QStringLiteral("Prędkość (dm/s)"));
  EXPECT_EQ(form.LabeledEdit5->Label()->text(), QStringLiteral("Zasięg (dm)"));
  EXPECT_EQ(form.LabeledEdit8->Label()->text(), QStringLiteral("Przybywanie (s)"));
  EXPECT_EQ(form.LabeledEdit9->Label()->text(), QStringLiteral("Maksymalna ilość"));
  EXPECT_EQ(form.LabeledEdit10->Label()->text(), QStringLiteral("Prędkość (dm/s)"));
  EXPECT_EQ(form.LabeledEdit11->Label()->text(), QStringLiteral("Zasięg (dm)"));
  EXPECT_LT(form.LabeledEdit6->y(), form.LabeledEdit7->y());
  EXPECT_LT(form.LabeledEdit7->y(), form.LabeledEdit4->y());
  EXPECT_LT(form.LabeledEdit4->y(), form.LabeledEdit5->y());
  EXPECT_LT(form.LabeledEdit8->y(), form.LabeledEdit9->y());
  EXPECT_LT(form.LabeledEdit9->y(), form.LabeledEdit10->y());
  EXPECT_LT(form.LabeledEdit10->y(), form.LabeledEdit11->y());

  // The keyboard visits speed, range, arrival, maximum on "Ludzie".
  form.PageControl1->setCurrentWidget(form.TabSheet3);
  form.LabeledEdit4->Edit()->setFocus();
  for (TLabeledEdit* next : {form.LabeledEdit5, form.LabeledEdit6, form.LabeledEdit7}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next->Edit());
  }
  form.PageControl1->setCurrentWidget(form.TabSheet4);
  form.LabeledEdit8->Edit()->setFocus();
  for (TLabeledEdit* next : {form.LabeledEdit9, form.LabeledEdit10, form.LabeledEdit11}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next->Edit());
  }
  QCoreApplication::processEvents();
  EXPECT_TRUE(capture.messages.empty());
}

TEST_F(ObjectsDialog, ABadParameterBringsItsPageAndFocusBack) {
  ShowActive();
  form.PageControl1->setCurrentWidget(form.TabSheet4);
  form.LabeledEdit8->Edit()->setFocus();
  form.LabeledEdit8->SetText(QStringLiteral("1x"));
  ClickTab(form.PageControl1, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet4);
  EXPECT_EQ(QApplication::focusWidget(), form.LabeledEdit8->Edit());
  ASSERT_EQ(capture.messages.size(), 1u);
  EXPECT_EQ(capture.messages[0], QStringLiteral("\"1x\" nie jest prawidłową wartością."));
  EXPECT_EQ(World.SharkArrivalS, 15);

  // Tabbing out of it is checked the same way, and only once.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QCoreApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), form.LabeledEdit8->Edit());
  EXPECT_EQ(capture.messages.size(), 2u);

  // Fixed, the edit lets the focus go without a message.
  form.LabeledEdit8->SetText(QStringLiteral("-3"));
  ClickTab(form.PageControl1, 2);
  QCoreApplication::processEvents();
  EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet3);
  EXPECT_EQ(capture.messages.size(), 2u);
  EXPECT_EQ(World.SharkArrivalS, 15);  // stored only by "OK"
}

TEST_F(ObjectsDialog, OkStoresAllEightParameters) {
  form.show();
  const auto edits = ParameterEdits(form);
  const std::vector<int32_t> values = {1, 2, 3, 4, 5, 0, -7, 0x10};
  for (size_t i = 0; i < edits.size(); ++i) edits[i]->SetText(QString::number(values[i]));
  edits[7]->SetText(QStringLiteral("$10"));
  form.BitBtn1->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(Parameters(), values);
  EXPECT_TRUE(capture.messages.empty());
  EXPECT_TRUE(capture.errors.empty());
}

TEST_F(ObjectsDialog, OkWithOneBadParameterStoresNone) {
  ShowActive();
  form.PageControl1->setCurrentWidget(form.TabSheet1);
  const auto edits = ParameterEdits(form);
  for (size_t i = 0; i < edits.size(); ++i) edits[i]->SetText(QString::number(100 + i));
  edits[6]->SetText(QStringLiteral("30 "));  // LabeledEdit10, on "Rekiny"
  form.BitBtn1->click();
  QCoreApplication::processEvents();
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(Parameters(), Defaults);
  ASSERT_EQ(capture.messages.size(), 1u);
  EXPECT_EQ(capture.messages[0], QStringLiteral("\"30 \" nie jest prawidłową wartością."));
  EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet4);
  EXPECT_EQ(QApplication::focusWidget(), form.LabeledEdit10->Edit());
  EXPECT_TRUE(capture.errors.empty());

  // Enter in the bad edit presses "OK" without any exit check: still one
  // message per press, nothing stored.
  QTest::keyClick(form.LabeledEdit10->Edit(), Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(capture.messages.size(), 2u);
  EXPECT_EQ(Parameters(), Defaults);
  EXPECT_TRUE(form.isVisible());

  edits[6]->SetText(QStringLiteral("30"));
  QTest::keyClick(form.LabeledEdit10->Edit(), Qt::Key_Return);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(World.PersonSpeed, 100);
  EXPECT_EQ(World.SharkSpeed, 30);
  EXPECT_EQ(World.SharkRange, 107);
}

TEST_F(ObjectsDialog, CancelKeepsAddedObjectsButDropsTypedParameters) {
  using Close = std::function<void(TForm5&)>;
  const Close closes[] = {
      [](TForm5& f) { f.BitBtn2->click(); },
      [](TForm5& f) { QTest::keyClick(&f, Qt::Key_Escape); },
      [](TForm5& f) { f.close(); },
  };
  int added = 0;
  for (const Close& close : closes) {
    ShowActive();
    form.PageControl1->setCurrentWidget(form.TabSheet1);
    form.LabeledEdit1->SetText(QStringLiteral("40"));
    mapAnswers.Add(PickAt(10 + added, 20));
    form.Button1Click();
    ++added;
    for (TLabeledEdit* e : ParameterEdits(form)) e->SetText(QStringLiteral("9"));
    close(form);
    QCoreApplication::processEvents();
    EXPECT_FALSE(form.isVisible()) << added;
    EXPECT_EQ(form.result(), QDialog::Rejected) << added;
    EXPECT_EQ(Parameters(), Defaults) << added;
    EXPECT_EQ(World.Observers.size(), static_cast<size_t>(added));
  }
  EXPECT_TRUE(capture.messages.empty());

  // The next showing refills the edits and lists every kept object.
  form.show();
  EXPECT_EQ(form.LabeledEdit4->Text(), QStringLiteral("20"));
  EXPECT_EQ(form.LabeledEdit11->Text(), QStringLiteral("300"));
  EXPECT_EQ(TForm5::RowCount(form.StringGrid1), added + 2);
}

TEST_F(ObjectsDialog, ThePageControlKeepsItsPageBetweenShowings) {
  form.show();
  EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet1);
  form.PageControl1->setCurrentWidget(form.TabSheet3);
  form.hide();
  form.show();
  EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet3);
}
