// The boundary every menu command runs inside: an exception that ends a
// command is shown by the default error report and never goes further (it
// must not unwind through the toolkit's event loop).
#pragma once

#include <exception>
#include <utility>

#include <QDir>
#include <QString>

#include "message_box.h"

// Text shown for an exception that carries no text of its own.
inline constexpr const char* UnknownErrorText = "Unknown error";

// Runs `command`; whatever it throws is reported with ShowErrorReport. The
// world keeps whatever the command changed before it failed.
template <class F>
void Guarded(F&& command) {
  try {
    std::forward<F>(command)();
  } catch (const std::exception& e) {
    ShowErrorReport(QString::fromUtf8(e.what()));
  } catch (...) {
    ShowErrorReport(QString::fromLatin1(UnknownErrorText));
  }
}

// The report of a failed save names the file after the reason:
// File access denied: "/home/ola/wykres.csv".
inline QString SaveFailureText(QString reason, const QString& path) {
  if (reason.endsWith(u'.')) reason.chop(1);
  return reason + QStringLiteral(": \"%1\".").arg(QDir::toNativeSeparators(path));
}

// As Guarded, for a command that saves the file at `path`.
template <class F>
void GuardedSave(const QString& path, F&& save) {
  try {
    std::forward<F>(save)();
  } catch (const std::exception& e) {
    ShowErrorReport(SaveFailureText(QString::fromUtf8(e.what()), path));
  } catch (...) {
    ShowErrorReport(SaveFailureText(QString::fromLatin1(UnknownErrorText), path));
  }
}
