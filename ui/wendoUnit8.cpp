#include "wendoUnit8.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPalette>

#include "dialog_style.h"
#include "pictures.h"

TForm8* Form8 = nullptr;

namespace {

// About 12 points of the system's sans font, made smaller only if the text
// would not fit its label with the fonts this system has.
QFont WaitFont(const QString& text, int width) {
  QFont font = DialogFont();
  font.setPointSize(12);
  while (font.pointSize() > 6 && QFontMetrics(font).horizontalAdvance(text) > width)
    font.setPointSize(font.pointSize() - 1);
  return font;
}

}  // namespace

TForm8::TForm8(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setFixedSize(ClientWidth, ClientHeight);
  move(239, 184);

  // The picture is a little larger than the box; it is shown unscaled from
  // its top-left corner, so its last column and rows are cut off.
  Image1 = new TImageBox(this);
  Image1->setGeometry(0, 0, ClientWidth, ClientHeight);
  // Without the picture, black: its background colour.
  Image1->SetFrame(DecorationPicture(QStringLiteral("splash.bmp"), QSize(ClientWidth, ClientHeight), Qt::black));
  Image1->installEventFilter(this);

  const QString text = QStringLiteral("Proszę czekać...");
  Label1 = new QLabel(text, this);
  Label1->setGeometry(80, 176, 122, 20);
  Label1->setFont(WaitFont(text, Label1->width()));
  Label1->setAutoFillBackground(false);
  Label1->setAttribute(Qt::WA_TranslucentBackground);
  QPalette palette = Label1->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 255, 255));
  Label1->setPalette(palette);

  Form8 = this;
}

TForm8::~TForm8() {
  if (Form8 == this) Form8 = nullptr;
}

bool TForm8::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Image1 && event->type() == QEvent::Paint) painted_ = true;
  return QWidget::eventFilter(watched, event);
}
