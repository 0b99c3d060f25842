#include "wendoUnit3.h"

#include <mutex>

#include "frame_one_colour_marks.h"
#include "frame_raster.h"
#include "frame_sprite.h"
#include "pictures.h"
#include "wendoUnit2.h"
#include "wymianadanych.h"

using namespace wymianadanych;

TForm3* Form3 = nullptr;

namespace {

constexpr int Scale = 5;
constexpr QRgb ObserverMark = PictureColour(Rgb(0, 0, 0));
constexpr QRgb BoatMark = PictureColour(Rgb(255, 251, 240));
constexpr QRgb SharkMark = PictureColour(Rgb(255, 128, 0));
constexpr QRgb PersonMark = PictureColour(Rgb(128, 0, 0));
constexpr QRgb ViewMark = PictureColour(Rgb(255, 0, 0));
static_assert(BoatMark == 0xFFFFFBF0u && SharkMark == 0xFFFF8000u && PersonMark == 0xFF800000u && ViewMark == 0xFFFF0000u);

// Beyond the mini-map picture, should it be smaller than the window.
constexpr QRgb OutsidePicture = 0xFF404040u;

// The map window's client size, which the view rectangle and a click use.
QSize MapClientSize() { return Form2 ? Form2->size() : QSize(600, 400); }

// An observation point or a boat: a five-pixel cross at its position and
// its sighting circle. Sums are taken in 64 bits: ranges come from files.
void DrawWatcher(wendoui::TOneColourMarks& marks, const TObiekt& o, int32_t range) {
  const int64_t x = o.X / Scale;
  const int64_t y = o.Y / Scale;
  marks.Put(x, y);
  marks.Put(x - 1, y - 1);
  marks.Put(x - 1, y + 1);
  marks.Put(x + 1, y - 1);
  marks.Put(x + 1, y + 1);
  marks.Ellipse((int64_t{o.X} - range) / Scale, (int64_t{o.Y} - range) / Scale, (int64_t{o.X} + range) / Scale,
                (int64_t{o.Y} + range) / Scale);
}

}  // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  Form3 = this;
  setWindowTitle(QStringLiteral("Mini Mapa"));
  setFixedSize(160, 240);
  move(628, 8);
  Image1 = new TImageBox(this);
  Image1->setGeometry(0, 0, 160, 240);
  connect(Image1, &TImageBox::MouseDown, this, &TForm3::Image1MouseDown);
  Image1->setMouseTracking(true);
  connect(Image1, &TImageBox::MouseMove, this, [this] { ShowPickPointer(); });
}

TForm3::~TForm3() {
  if (Form3 == this) Form3 = nullptr;
}

void TForm3::RedrawMiniMap() {
  QImage frame = Image1->NextFrame(size());
  wendoui::CopyBackground(frame, MiniMapPicture, 0, 0, OutsidePicture);

  const QSize map = MapClientSize();
  const int64_t viewLeft = World.ViewLeft / Scale;
  const int64_t viewTop = World.ViewTop / Scale;
  wendoui::TRaster raster(frame);
  // Observation points change only on this thread, and the simulation
  // thread only reads them, so they are drawn without the world's lock: with
  // very many of them the simulation is not held up for their drawing.
  {
    wendoui::TOneColourMarks marks(raster, ObserverMark);
    for (const TObserwator& o : World.Observers) DrawWatcher(marks, o, o.Range);
  }
  {
    // One lock for the lists the simulation changes: they show one moment.
    std::lock_guard guard(World.Lock);
    {
      wendoui::TOneColourMarks marks(raster, BoatMark);
      for (const TLodz& b : World.Boats) DrawWatcher(marks, b, b.Range);
    }
    // A live shark or person: the eight pixels around its position.
    for (const TRekin& s : World.Sharks)
      if (!s.Dead) raster.Ring(s.X / Scale, s.Y / Scale, SharkMark);
    for (const TCzlowiek& p : World.People)
      if (!p.Dead) raster.Ring(p.X / Scale, p.Y / Scale, PersonMark);
  }
  raster.Rect(viewLeft, viewTop, viewLeft + map.width() / Scale, viewTop + map.height() / Scale, ViewMark);
  Image1->SetFrame(std::move(frame));
}

void TForm3::Image1MouseDown(Qt::MouseButton, int x, int y) {
  const QSize map = MapClientSize();
  World.ViewLeft = Scale * x - map.width() / 2;
  World.ViewTop = Scale * y - map.height() / 2;
}

void TForm3::ShowPickPointer() {
  // During a pick the user comes here to move the map's view: a pointing
  // hand says that a click does so.
  Image1->SetPointer(Form2 && Form2->PickActive ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TForm3::showEvent(QShowEvent* event) {
  ShowPickPointer();
  QDialog::showEvent(event);
}
