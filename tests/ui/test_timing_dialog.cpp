// The timing dialog: showing, storing, rejecting and cancelling.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "labeled_edit.h"
#include "test_dialogs_support.h"
#include "wendoUnit4.h"

using dialog_tests::MessageCapture;
using dialog_tests::ModalAnswers;
using dialog_tests::ResetWorld;
using wymianadanych::World;

namespace {

class TimingDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWorld();
    form.OnTimingChanged = [this] { ++wakes; };
  }
  void TearDown() override { ResetWorld(); }

  void ShowActive() {
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }

  TForm4 form;
  MessageCapture capture;
  int wakes = 0;
};

}  // namespace

TEST_F(TimingDialog, LayoutCaptionsAndKeyboardOrder) {
  EXPECT_EQ(Form4, &form);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Symulacja"));
  EXPECT_EQ(form.size(), QSize(221, 190));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.pos(), QPoint(192, 107));
  EXPECT_EQ(form.LabeledEdit1->Label()->text(), QStringLiteral("Krok symulacji (ms)"));
  EXPECT_EQ(form.LabeledEdit2->Label()->text(), QStringLiteral("Krok odświerzania (ms)"));
  EXPECT_EQ(form.LabeledEdit1->Edit()->width(), 153);
  EXPECT_EQ(form.LabeledEdit2->Edit()->width(), 153);
  EXPECT_LT(form.LabeledEdit1->y(), form.LabeledEdit2->y());
  EXPECT_EQ(form.BitBtn1->text(), QStringLiteral("OK"));
  EXPECT_EQ(form.BitBtn2->text(), QStringLiteral("Anuluj"));
  EXPECT_TRUE(form.BitBtn1->isDefault());
  EXPECT_LT(form.BitBtn2->x(), form.BitBtn1->x());
  // Everything lies inside the client area.
  for (QWidget* w : {static_cast<QWidget*>(form.LabeledEdit1), static_cast<QWidget*>(form.LabeledEdit2),
                     static_cast<QWidget*>(form.BitBtn1), static_cast<QWidget*>(form.BitBtn2)})
    EXPECT_TRUE(form.rect().contains(w->geometry())) << w->metaObject()->className();

  ShowActive();
  EXPECT_EQ(QApplication::focusWidget(), form.LabeledEdit1->Edit());
  const QWidget* expected[] = {form.LabeledEdit2->Edit(), form.BitBtn1, form.BitBtn2, form.LabeledEdit1->Edit()};
  for (const QWidget* next : expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
  }
  // Shift+Tab goes the same way back.
  const QWidget* back[] = {form.BitBtn2, form.BitBtn1, form.LabeledEdit2->Edit(), form.LabeledEdit1->Edit()};
  for (const QWidget* previous : back) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), previous);
  }
}

TEST_F(TimingDialog, OpeningShowsThePeriodsAndOkStoresBoth) {
  QString shown1, shown2;
  ModalAnswers answers(&form);
  answers.Add([&] {
    shown1 = form.LabeledEdit1->Text();
    shown2 = form.LabeledEdit2->Text();
    form.LabeledEdit1->SetText(QStringLiteral("50"));
    form.LabeledEdit2->SetText(QStringLiteral("500"));
    form.BitBtn1->click();
  });
  EXPECT_EQ(form.exec(), QDialog::Accepted);
  EXPECT_EQ(shown1, QStringLiteral("100"));
  EXPECT_EQ(shown2, QStringLiteral("1000"));
  EXPECT_EQ(World.SimStepMs.load(), 50);
  EXPECT_EQ(World.RefreshMs.load(), 500);
  EXPECT_EQ(wakes, 1);
  EXPECT_TRUE(capture.messages.empty());

  // The next showing displays the stored values.
  form.show();
  EXPECT_EQ(form.LabeledEdit1->Text(), QStringLiteral("50"));
  EXPECT_EQ(form.LabeledEdit2->Text(), QStringLiteral("500"));
}

TEST_F(TimingDialog, ARejectedTextChangesNeitherPeriod) {
  ShowActive();
  form.LabeledEdit1->SetText(QStringLiteral("12a"));
  form.LabeledEdit2->SetText(QStringLiteral("500"));
  form.LabeledEdit2->Edit()->setFocus();
  form.BitBtn1->click();
  ASSERT_EQ(capture.messages.size(), 1u);
  EXPECT_EQ(capture.messages[0], QStringLiteral("\"12a\" nie jest prawidłową wartością."));
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(QApplication::focusWidget(), form.LabeledEdit1->Edit());
  EXPECT_EQ(World.SimStepMs.load(), 100);
  EXPECT_EQ(World.RefreshMs.load(), 1000);
  EXPECT_EQ(wakes, 0);

  // Both wrong: only the first is reported.
  form.LabeledEdit2->SetText(QStringLiteral("x"));
  form.BitBtn1->click();
  ASSERT_EQ(capture.messages.size(), 2u);
  EXPECT_EQ(capture.messages[1], QStringLiteral("\"12a\" nie jest prawidłową wartością."));

  // Only the second wrong: the first valid value is not stored either.
  form.LabeledEdit1->SetText(QStringLiteral("70"));
  form.LabeledEdit2->SetText(QStringLiteral(""));
  form.BitBtn1->click();
  ASSERT_EQ(capture.messages.size(), 3u);
  EXPECT_EQ(capture.messages[2], QStringLiteral("\"\" nie jest prawidłową wartością."));
  EXPECT_EQ(QApplication::focusWidget(), form.LabeledEdit2->Edit());
  EXPECT_EQ(World.SimStepMs.load(), 100);
  EXPECT_EQ(World.RefreshMs.load(), 1000);
  EXPECT_TRUE(form.isVisible());

  // A trailing blank is not a number; leading blanks and a sign are.
  form.LabeledEdit2->SetText(QStringLiteral("50 "));
  form.BitBtn1->click();
  EXPECT_EQ(capture.messages.size(), 4u);
  form.LabeledEdit2->SetText(QStringLiteral("  +50"));
  form.BitBtn1->click();
  EXPECT_EQ(capture.messages.size(), 4u);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(World.SimStepMs.load(), 70);
  EXPECT_EQ(World.RefreshMs.load(), 50);
}

TEST_F(TimingDialog, ZeroNegativeAndHexadecimalAreStored) {
  form.show();
  form.LabeledEdit1->SetText(QStringLiteral("0"));
  form.LabeledEdit2->SetText(QStringLiteral("-100"));
  form.BitBtn1->click();
  EXPECT_TRUE(capture.messages.empty());
  EXPECT_EQ(World.SimStepMs.load(), 0);
  EXPECT_EQ(World.RefreshMs.load(), -100);

  form.show();
  form.LabeledEdit1->SetText(QStringLiteral("$10"));
  form.LabeledEdit2->SetText(QStringLiteral("0x20"));
  form.BitBtn1->click();
  EXPECT_EQ(World.SimStepMs.load(), 16);
  EXPECT_EQ(World.RefreshMs.load(), 32);
  EXPECT_EQ(wakes, 2);
}

TEST_F(TimingDialog, CancelEscapeAndTheCloseBoxStoreNothing) {
  auto typeNewValues = [this] {
    form.LabeledEdit1->SetText(QStringLiteral("5"));
    form.LabeledEdit2->SetText(QStringLiteral("6"));
  };
  ModalAnswers answers(&form);
  answers.Add([&] {
    typeNewValues();
    form.BitBtn2->click();
  });
  answers.Add([&] {
    typeNewValues();
    QTest::keyClick(&form, Qt::Key_Escape);
  });
  answers.Add([&] {
    typeNewValues();
    form.close();
  });
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(form.exec(), QDialog::Rejected) << i;
    EXPECT_EQ(World.SimStepMs.load(), 100) << i;
    EXPECT_EQ(World.RefreshMs.load(), 1000) << i;
  }
  EXPECT_EQ(answers.Answered(), 3);
  EXPECT_EQ(wakes, 0);
  form.show();
  EXPECT_EQ(form.LabeledEdit1->Text(), QStringLiteral("100"));
  EXPECT_EQ(form.LabeledEdit2->Text(), QStringLiteral("1000"));
}
