// The map window: a 600 x 400 part of the map with every object drawn as a
// sprite, and the point picking the objects dialog uses to place objects.
#pragma once

#include <QDialog>
#include <cstdint>

#include <optional>

#include "image_box.h"
#include "layout_overlay.h"

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  // Values of PickKind: what is being placed, and so which colours a pick
  // accepts. Any other value accepts no click.
  static constexpr int32_t PickObserver = 1;  // land: olive or green
  static constexpr int32_t PickBoat = 2;      // water: aqua or blue

  explicit TForm2(QWidget* parent = nullptr);
  ~TForm2() override;

  TImageBox* Image1;

  // Point picking: the caller sets PickActive, PickKind and clears PickDone;
  // the window only ever writes PickDone, PickX and PickY.
  bool PickActive = false;
  bool PickDone = false;
  int32_t PickKind = 0;
  int32_t PickX = 0;
  int32_t PickY = 0;

  // Composes a frame of the current world off screen and shows it.
  void RedrawMap();
  // The advisor's layout over the frames from now on; nothing: frames as
  // without the advisor. The map is redrawn at once when shown.
  void SetOverlay(std::optional<TLayoutOverlay> overlay);
  const std::optional<TLayoutOverlay>& Overlay() const { return overlay_; }
  void Image1MouseDown(Qt::MouseButton button, int x, int y);
  // In picking mode the pointer is a crosshair where a click would pick a
  // point and a "forbidden" sign where it would be ignored.
  void Image1MouseMove(int x, int y);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Whether a click on frame pixel (x, y) picks a point, and which one.
  bool PickableAt(int x, int y, int32_t& mapX, int32_t& mapY) const;

  std::optional<TLayoutOverlay> overlay_;
};

extern TForm2* Form2;
