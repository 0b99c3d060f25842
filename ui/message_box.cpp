#include "message_box.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {

TMessageSink& MessageSink() {
  static TMessageSink sink;
  return sink;
}

TMessageSink& ErrorSink() {
  static TMessageSink sink;
  return sink;
}

void ShowBox(QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, MessageCaption(), text, QMessageBox::NoButton, QApplication::activeWindow());
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
}

}  // namespace

void SetMessageSink(TMessageSink sink) { MessageSink() = std::move(sink); }

void SetErrorReportSink(TMessageSink sink) { ErrorSink() = std::move(sink); }

QString MessageCaption() { return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName(); }

void ShowMessage(const QString& text) {
  if (MessageSink()) {
    MessageSink()(text);
    return;
  }
  ShowBox(QMessageBox::NoIcon, text);
}

QString ErrorReportText(const QString& errorText) {
  if (!errorText.isEmpty() && errorText.back() > QChar(u'.')) return errorText + u'.';
  return errorText;
}

void ShowErrorReport(const QString& errorText) {
  const QString text = ErrorReportText(errorText);
  if (ErrorSink()) {
    ErrorSink()(text);
    return;
  }
  if (MessageSink()) {
    MessageSink()(text);
    return;
  }
  ShowBox(QMessageBox::Critical, text);
}
