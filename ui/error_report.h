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

// Runs `command`; whatever it throws is reported with ShowErrorReport, its
// text first put into words by `report`. The world keeps whatever the
// command changed before it failed.
template <class F, class R>
void GuardedReporting(F&& command, R&& report) {
  try {
    std::forward<F>(command)();
  } catch (const std::exception& e) {
    ShowErrorReport(report(QString::fromUtf8(e.what())));
  } catch (...) {
    ShowErrorReport(report(QString::fromLatin1(UnknownErrorText)));
  }
}

template <class F>
void Guarded(F&& command) {
  GuardedReporting(std::forward<F>(command), [](QString reason) { return reason; });
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
  GuardedReporting(std::forward<F>(save), [&path](QString reason) { return SaveFailureText(std::move(reason), path); });
}
