#include "image_box.h"

#include <utility>

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

TImageBox::TImageBox(QWidget* parent) : QWidget(parent) {
  // The frame covers the whole box, so nothing beneath needs painting first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImageBox::SetFrame(QImage frame) {
  spare_ = std::exchange(frame_, std::move(frame));
  update();
}

QImage TImageBox::NextFrame(QSize size) {
  QImage next = std::move(spare_);
  if (next.size() != size || next.format() != QImage::Format_RGB32 || !next.isDetached())
    next = QImage(size, QImage::Format_RGB32);
  return next;
}

void TImageBox::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect dirty = event->rect();
  painter.fillRect(dirty, palette().window());
  painter.drawImage(dirty.topLeft(), frame_, dirty);
}

void TImageBox::mousePressEvent(QMouseEvent* event) {
  // The pixel under the pointer, also for fractional device positions.
  const QPointF at = event->position();
  emit MouseDown(event->button(), static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
  event->accept();
}

void TImageBox::mouseMoveEvent(QMouseEvent* event) {
  const QPointF at = event->position();
  emit MouseMove(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
}

void TImageBox::SetPointer(Qt::CursorShape shape) {
  // Moves come often; the pointer changes only when its shape does.
  if (shape == Qt::ArrowCursor) {
    if (testAttribute(Qt::WA_SetCursor)) unsetCursor();
  } else if (!testAttribute(Qt::WA_SetCursor) || cursor().shape() != shape) {
    setCursor(shape);
  }
}

bool TImageBox::PointerAt(int& x, int& y) const {
  const QPoint at = mapFromGlobal(QCursor::pos());
  if (!rect().contains(at)) return false;
  x = at.x();
  y = at.y();
  return true;
}
