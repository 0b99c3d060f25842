#include "display_thread.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "wendoUnit2.h"
#include "wendoUnit3.h"
#include "wymianadanych.h"

using wymianadanych::World;

namespace {
// A loop that has nothing left to do sleeps this long, until it is ended.
constexpr int64_t IdleMs = 86400000;
}  // namespace

TDisplayThread::TDisplayThread(wymianadanych::TTickSource& ticks)
    : TDisplayThread(ticks, std::function<void()>{}) {}

TDisplayThread::TDisplayThread(wymianadanych::TTickSource& ticks, std::function<void()> redraw)
    : handOver_(std::make_shared<THandOver>()),
      ticks_(ticks),
      loop_(ticks, [this](uint32_t now) { return Pass(now); }) {
  handOver_->Redraw = redraw ? std::move(redraw) : [this] { RedrawViews(); };
}

TDisplayThread::~TDisplayThread() { Stop(); }

void TDisplayThread::Resume() { loop_.Resume(); }

void TDisplayThread::Wake() { loop_.Wake(); }

void TDisplayThread::Stop() {
  {
    std::lock_guard<std::mutex> lock(handOver_->Mutex);
    handOver_->Stopped = true;
  }
  // Releases a loop waiting for the GUI thread without the GUI thread's help.
  handOver_->Done.notify_all();
  loop_.Terminate();
}

void TDisplayThread::RedrawViews() {
  if (Form2) Form2->RedrawMap();
  if (Form3) Form3->RedrawMiniMap();
}

bool TDisplayThread::HandOverPending() const {
  std::lock_guard<std::mutex> lock(handOver_->Mutex);
  return !handOver_->Stopped && handOver_->Posted > handOver_->Served;
}

int64_t TDisplayThread::Pass(uint32_t now) {
  if (!started_) {
    // The first period runs from the moment the thread is first resumed.
    started_ = true;
    last_ = now;
  }
  const int64_t refresh = World.RefreshMs.load();
  const uint32_t elapsed = now - last_;  // modular: survives the counter's wrap
  if (static_cast<int64_t>(elapsed) < refresh) return refresh - static_cast<int64_t>(elapsed);

  // Read afresh before the redraw: the period runs from redraw start to
  // redraw start, and a redraw longer than the period is followed at once.
  last_ = ticks_.Now();
  if (!HandToGui()) return IdleMs;
  if (refresh <= 0) return 0;
  // The next redraw is due at last_ + refresh; the loop counts from `now`.
  return refresh + static_cast<int64_t>(static_cast<uint32_t>(last_ - now));
}

bool TDisplayThread::HandToGui() {
  const std::shared_ptr<THandOver> h = handOver_;
  std::unique_lock<std::mutex> lock(h->Mutex);
  if (h->Stopped) return false;
  const uint64_t ticket = ++h->Posted;
  QCoreApplication* gui = QCoreApplication::instance();
  // Queued, so the GUI thread runs it from whichever event loop it is in,
  // modal dialogs included. The call holds the shared state, not this
  // object, and draws nothing once Stop has been asked for.
  // Without a GUI thread to serve the call the loop just waits to be stopped.
  auto serve = [h, ticket] {
    std::lock_guard<std::mutex> serving(h->Mutex);
    if (h->Stopped || h->Served >= ticket) return;
    h->Redraw();
    h->Served = ticket;
    h->Done.notify_all();
  };
  // The first call only queues the redraw again. A redraw that outlasts
  // the period is followed at once by the next, and the event loop would
  // run that one before the input and the 100 ms timer that came in
  // meanwhile; queued once more, it comes after them, so the interface
  // answers between any two redraws.
  if (gui)
    QMetaObject::invokeMethod(
        gui, [gui, serve] { QMetaObject::invokeMethod(gui, serve, Qt::QueuedConnection); }, Qt::QueuedConnection);
  h->Done.wait(lock, [&] { return h->Stopped || h->Served >= ticket; });
  return !h->Stopped;
}
