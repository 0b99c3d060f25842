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

  // The mouse pointer over the box; Qt::ArrowCursor is the default one.
  void SetPointer(Qt::CursorShape shape);
  // The box's pixel under the mouse pointer, when the pointer is over it.
  bool PointerAt(int& x, int& y) const;

 signals:
  // Any button; x and y in the box's own pixels.
  void MouseDown(Qt::MouseButton button, int x, int y);
  // Pointer moves, reported only while the owner has mouse tracking on.
  void MouseMove(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QImage frame_;
};
