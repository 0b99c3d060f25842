// The splash window shown while the main window is being created.
#pragma once

#include <QWidget>

#include "image_box.h"

class QLabel;

class TForm8 : public QWidget {
  Q_OBJECT

 public:
  static constexpr int ClientWidth = 281;
  static constexpr int ClientHeight = 201;

  explicit TForm8(QWidget* parent = nullptr);
  ~TForm8() override;

  // True once the picture has been painted at least once.
  bool Painted() const { return painted_; }

  TImageBox* Image1;
  QLabel* Label1;  // "Proszę czekać..."

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool painted_ = false;
};

extern TForm8* Form8;
