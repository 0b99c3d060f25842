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

 signals:
  // Any button; x and y in the box's own pixels.
  void MouseDown(Qt::MouseButton button, int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage frame_;
};
