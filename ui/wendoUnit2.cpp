#include "wendoUnit2.h"

#include <mutex>

#include "frame_sprite.h"
#include "pictures.h"
#include "rules.h"
#include "wymianadanych.h"

using namespace wymianadanych;
using wendoui::TSprite;

TForm2* Form2 = nullptr;

namespace {

// Where the view reaches beyond the map: a plain grey that no pick accepts.
constexpr QRgb OutsideMapPixel = 0xFF404040u;

}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  Form2 = this;
  setWindowTitle(QStringLiteral("Mapa"));
  setFixedSize(600, 400);
  move(7, 221);
  Image1 = new TImageBox(this);
  Image1->setGeometry(0, 0, 600, 400);
  connect(Image1, &TImageBox::MouseDown, this, &TForm2::Image1MouseDown);
  Image1->setMouseTracking(true);
  connect(Image1, &TImageBox::MouseMove, this, &TForm2::Image1MouseMove);
}

TForm2::~TForm2() {
  if (Form2 == this) Form2 = nullptr;
}

void TForm2::RedrawMap() {
  const int64_t viewLeft = World.ViewLeft;
  const int64_t viewTop = World.ViewTop;
  QImage frame = Image1->NextFrame(size());
  wendoui::CopyBackground(frame, MapPicture, viewLeft, viewTop, OutsideMapPixel);

  const TSprite observer(ObserverSprite), boat(BoatSprite), shark(SharkSprite), swimming(SwimmingSprite),
      standing(StandingSprite), dead(DeadSprite);
  const int64_t fw = frame.width();
  const int64_t fh = frame.height();
  // Top-left frame pixel of an object's sprite; false when the sprite box
  // misses the frame entirely, so no pixel of it need be looked at.
  auto placed = [&](const TObiekt& o, int64_t& left, int64_t& top) {
    left = int64_t{o.X} - wendoui::SpriteAnchor - viewLeft;
    top = int64_t{o.Y} - wendoui::SpriteAnchor - viewTop;
    return left < fw && top < fh && left + wendoui::SpriteSize > 0 && top + wendoui::SpriteSize > 0;
  };
  int64_t left = 0, top = 0;
  // Observation points change only on this thread, and the simulation
  // thread only reads them, so they are drawn without the world's lock: with
  // very many of them the simulation is not held up for their drawing.
  for (const TObserwator& o : World.Observers)
    if (placed(o, left, top)) observer.Draw(frame, left, top);
  {
    // One lock for the lists the simulation changes: they show one moment.
    std::lock_guard guard(World.Lock);
    for (const TRekin& s : World.Sharks)
      if (placed(s, left, top)) (s.Dead ? dead : shark).Draw(frame, left, top);
    for (const TCzlowiek& p : World.People)
      if (placed(p, left, top)) (p.Dead ? dead : Swims(World, p) ? swimming : standing).Draw(frame, left, top);
    for (const TLodz& b : World.Boats)
      if (placed(b, left, top)) boat.Draw(frame, left, top);
  }
  // Never while picking: a pick reads the colours of the frame shown.
  if (overlay_ && !PickActive) DrawLayoutOverlay(frame, *overlay_, viewLeft, viewTop);
  Image1->SetFrame(std::move(frame));
}

void TForm2::SetOverlay(std::optional<TLayoutOverlay> overlay) {
  overlay_ = std::move(overlay);
  if (isVisible()) RedrawMap();
}

bool TForm2::PickableAt(int x, int y, int32_t& mapX, int32_t& mapY) const {
  if (!PickActive) return false;
  int32_t first, second;
  switch (PickKind) {
    case PickObserver:
      first = OliveColour;
      second = LandColour;
      break;
    case PickBoat:
      first = CyanWaterColour;
      second = WaterColour;
      break;
    default:
      return false;
  }
  const QImage& shown = Image1->Frame();
  if (x < 0 || y < 0 || x >= shown.width() || y >= shown.height()) return false;
  const int32_t colour = TerrainColour(shown.pixel(x, y));
  if (colour != first && colour != second) return false;
  // The view may reach beyond the map, where a sprite pixel can carry an
  // accepted colour; a point off the map is never picked.
  const int64_t atX = int64_t{x} + World.ViewLeft;
  const int64_t atY = int64_t{y} + World.ViewTop;
  if (atX < 0 || atX > MaxX || atY < 0 || atY > MaxY) return false;
  mapX = static_cast<int32_t>(atX);
  mapY = static_cast<int32_t>(atY);
  return true;
}

void TForm2::Image1MouseDown(Qt::MouseButton, int x, int y) {
  int32_t mapX = 0, mapY = 0;
  if (!PickableAt(x, y, mapX, mapY)) return;
  PickX = mapX;
  PickY = mapY;
  PickDone = true;
  accept();
}

void TForm2::Image1MouseMove(int x, int y) {
  // While picking, the pointer tells beforehand whether a click here would
  // be taken; the test is the click's own, on the frame already shown.
  if (!PickActive) {
    Image1->SetPointer(Qt::ArrowCursor);
    return;
  }
  int32_t mapX = 0, mapY = 0;
  Image1->SetPointer(PickableAt(x, y, mapX, mapY) ? Qt::CrossCursor : Qt::ForbiddenCursor);
}

void TForm2::showEvent(QShowEvent* event) {
  // Picking mode may have begun or ended while the window was hidden.
  int x = 0, y = 0;
  if (PickActive && Image1->PointerAt(x, y))
    Image1MouseMove(x, y);
  else
    Image1->SetPointer(Qt::ArrowCursor);
  QDialog::showEvent(event);
}
