// An edit field with its caption shown above it.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

class TLabeledEdit : public QWidget {
  Q_OBJECT

 public:
  // Caption height plus the gap above the edit; callers place the widget
  // so that the edit itself sits where they want it.
  static constexpr int CaptionHeight = 16;
  static constexpr int EditHeight = 21;

  explicit TLabeledEdit(const QString& caption, QWidget* parent = nullptr);

  QString Text() const;
  void SetText(const QString& text);
  QLineEdit* Edit();
  QLabel* Label();

  // Puts the edit (not the caption) at (x, y) with the given width; the
  // caption goes just above it, as in the form designs.
  void PlaceEdit(int x, int y, int width);

 signals:
  // The focus has moved from the edit to another control of the same
  // window (not merely to another window or a popup).
  void Exited();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* label_;
  QLineEdit* edit_;
};
