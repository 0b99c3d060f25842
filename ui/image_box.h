// A picture box: shows one frame unscaled from its top-left corner, repaints
// itself from it, and reports every mouse press.
#pragma once

#include <QImage>
#include <QWidget>

class TImageBox : public QWidget {
  Q_OBJECT

 public:
  explicit TImageBox(QWidget* parent = nullptr);

  // Replaces the shown frame in one copy and schedules a repaint.
  void SetFrame(QImage frame);
  const QImage& Frame() const { return frame_; }
  // An RGB32 image of `size` to compose the next frame in, with any content:
  // the memory of the frame replaced last, when nothing else holds it. A
  // frame of a map is a megabyte, and memory fresh from the system costs a
  // page fault and a zeroing per page on every redraw.
  QImage NextFrame(QSize size);

  // The mouse pointer over the box; Qt::ArrowCursor is the default one.
  void SetPointer(Qt::CursorShape shape);
  // The box's pixel under the mouse pointer, when the pointer is over it.
  bool PointerAt(int& x, int& y) const;

 signals:
  // Any button; x and y in the box's own pixels.
  void MouseDown(Qt::MouseButton button, int x, int y);
  // Pointer moves: with a button held, or with none while the owner has
  // mouse tracking on.
  void MouseMove(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QImage frame_;
  QImage spare_;  // the frame shown before frame_
};
