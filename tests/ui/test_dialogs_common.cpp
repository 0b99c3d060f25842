// The message boxes and the labelled edit that every dialog uses.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "labeled_edit.h"
#include "test_dialogs_support.h"

namespace {

struct SeenBox {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
};

// Reads the next message box that opens and presses its default button.
void AnswerNextBox(SeenBox& seen) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, &seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
    box->defaultButton()->click();
  });
  timer->start();
}

}  // namespace

TEST(MessageBoxes, ErrorReportEndsWithAFullStopOnlyAfterACharacterAboveIt) {
  EXPECT_EQ(ErrorReportText(QStringLiteral("'12a' is not a valid integer value")),
            QStringLiteral("'12a' is not a valid integer value."));
  EXPECT_EQ(ErrorReportText(QStringLiteral("I/O error 5")), QStringLiteral("I/O error 5."));
  EXPECT_EQ(ErrorReportText(QStringLiteral("a/")), QStringLiteral("a/."));  // '/' follows '.'
  EXPECT_EQ(ErrorReportText(QStringLiteral("Done.")), QStringLiteral("Done."));
  EXPECT_EQ(ErrorReportText(QStringLiteral("Stop!")), QStringLiteral("Stop!"));
  EXPECT_EQ(ErrorReportText(QStringLiteral("(x)")), QStringLiteral("(x)"));
  EXPECT_EQ(ErrorReportText(QStringLiteral("a-")), QStringLiteral("a-"));
  EXPECT_EQ(ErrorReportText(QStringLiteral("Błąd ł")), QStringLiteral("Błąd ł."));
  EXPECT_EQ(ErrorReportText(QString()), QString());
}

TEST(MessageBoxes, SinksTakeTheTextsInsteadOfBoxes) {
  {
    dialog_tests::MessageCapture capture;
    ShowMessage(QStringLiteral("\"x\" nie jest prawidłową wartością."));
    ShowErrorReport(QStringLiteral("File not found"));
    ASSERT_EQ(capture.messages.size(), 1u);
    EXPECT_EQ(capture.messages[0], QStringLiteral("\"x\" nie jest prawidłową wartością."));
    ASSERT_EQ(capture.errors.size(), 1u);
    EXPECT_EQ(capture.errors[0], QStringLiteral("File not found."));
  }
  // With only the message sink set, error reports go there too.
  std::vector<QString> seen;
  SetMessageSink([&](const QString& t) { seen.push_back(t); });
  ShowErrorReport(QStringLiteral("Invalid filename"));
  SetMessageSink(nullptr);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], QStringLiteral("Invalid filename."));
}

TEST(MessageBoxes, BoxesCarryTheProgramNameAndOneOkButton) {
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  EXPECT_EQ(MessageCaption(), program);

  SeenBox message;
  AnswerNextBox(message);
  ShowMessage(QStringLiteral("\"\" nie jest poprawną wartością."));
  EXPECT_EQ(message.title, program);
  EXPECT_EQ(message.text, QStringLiteral("\"\" nie jest poprawną wartością."));
  EXPECT_EQ(message.buttons, QStringList{QStringLiteral("OK")});

  SeenBox error;
  AnswerNextBox(error);
  ShowErrorReport(QStringLiteral("File access denied"));
  EXPECT_EQ(error.title, program);
  EXPECT_EQ(error.text, QStringLiteral("File access denied."));
  EXPECT_EQ(error.icon, QMessageBox::Critical);
  EXPECT_EQ(error.buttons, QStringList{QStringLiteral("OK")});
}

TEST(LabeledEdit, CaptionAboveTheEditAndExitOnlyWhenTheFocusMovesOn) {
  QWidget window;
  window.resize(200, 120);
  auto* first = new TLabeledEdit(QStringLiteral("Pierwsze"), &window);
  first->PlaceEdit(10, 30, 150);
  auto* second = new TLabeledEdit(QStringLiteral("Drugie"), &window);
  second->PlaceEdit(10, 80, 150);
  EXPECT_EQ(first->Label()->text(), QStringLiteral("Pierwsze"));
  EXPECT_EQ(first->Edit()->mapTo(&window, QPoint(0, 0)), QPoint(10, 30));
  EXPECT_EQ(first->Edit()->width(), 150);
  EXPECT_LE(first->Label()->mapTo(&window, QPoint(0, first->Label()->height())).y(), 30);
  first->SetText(QStringLiteral("12"));
  EXPECT_EQ(first->Text(), QStringLiteral("12"));
  EXPECT_EQ(first->Edit()->text(), QStringLiteral("12"));

  int exits = 0;
  QObject::connect(first, &TLabeledEdit::Exited, [&] { ++exits; });
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  first->Edit()->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), first->Edit());

  // Another window taking the focus for a while is no exit.
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_EQ(exits, 0);
  other.hide();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(exits, 0);

  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), second->Edit());
  EXPECT_EQ(exits, 1);
}
