// The boundary every menu command runs inside: an exception that ends a
// command is shown by the default error report and never goes further (it
// must not unwind through the toolkit's event loop).
#pragma once

#include <exception>
#include <utility>

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
