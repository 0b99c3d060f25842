// The mini-map window: the whole map at one fifth with a mark for every
// observation point, boat, live shark and live person, and the map view's
// rectangle; a click moves the map view.
#pragma once

#include <QDialog>

#include "image_box.h"

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm3(QWidget* parent = nullptr);
  ~TForm3() override;

  TImageBox* Image1;

  // Composes a frame of the current world off screen and shows it.
  void RedrawMiniMap();
  // Centres the map view on the clicked point; shown at the next redraw.
  void Image1MouseDown(Qt::MouseButton button, int x, int y);
  // A pointing hand while the map window is in picking mode, else the
  // default pointer.
  void ShowPickPointer();

 protected:
  void showEvent(QShowEvent* event) override;
};

extern TForm3* Form3;
