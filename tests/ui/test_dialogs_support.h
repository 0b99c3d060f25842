// Shared pieces of the dialog tests: capturing message boxes, answering
// the modal map windows, and a world put back to its start-up state.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QThread>
#include <QString>
#include <QTimer>

#include "message_box.h"
#include "wymianadanych.h"

namespace dialog_tests {

// Runs the event loop until `done` holds; false when it never did.
template <class Done>
bool WaitFor(Done done, int limitMs = 15000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return true;
}

// Takes every simple message and error report for the life of the object.
class MessageCapture {
 public:
  MessageCapture() {
    SetMessageSink([this](const QString& t) { messages.push_back(t); });
    SetErrorReportSink([this](const QString& t) { errors.push_back(t); });
  }
  ~MessageCapture() {
    SetMessageSink(nullptr);
    SetErrorReportSink(nullptr);
  }
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

  std::vector<QString> messages;
  std::vector<QString> errors;
};

// Everything the dialogs read or change, back to the start-up values.
inline void ResetWorld() {
  using wymianadanych::World;
  World.ResetScenario();
  World.DrainEvents();
  World.ElapsedMs = 0;
  World.ObserverCount = World.BoatCount = World.PersonCount = 0;
  World.DeadPeople = World.SharkCount = World.DeadSharks = 0;
  World.DecimalSeparator = ".";
}

// Answers a modal window while a command runs: whenever `window` is the
// active modal widget, the next queued answer runs (usually closing it; an
// answer that leaves it open is followed by the next one). A window shown
// with no answer left is simply closed, so a test never hangs in a modal
// loop.
class ModalAnswers {
 public:
  using Answer = std::function<void()>;

  explicit ModalAnswers(QDialog* window) : window_(window) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }

  void Add(Answer answer) { answers_.push_back(std::move(answer)); }
  int Answered() const { return answered_; }

 private:
  void Poll() {
    if (QApplication::activeModalWidget() != window_ || !window_->isVisible()) return;
    ++answered_;
    if (next_ < answers_.size()) {
      answers_[next_++]();
    } else {
      window_->reject();
    }
  }

  QDialog* window_;
  QTimer timer_;
  std::vector<Answer> answers_;
  size_t next_ = 0;
  int answered_ = 0;
};

}  // namespace dialog_tests
