#include "wendoUnit6.h"

#include <mutex>

#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "dialog_style.h"
#include "wymianadanych.h"

TForm6* Form6 = nullptr;

namespace {
constexpr int NameLeft = 32;
constexpr int FirstTop = 24;
constexpr int RowPitch = 16;
}  // namespace

TForm6::TForm6(QWidget* parent) : QDialog(parent) {
  FrameDialog(*this, QStringLiteral("Statystyki"));
  setFixedSize(228, 199);
  move(646, 290);

  const char* captions[] = {"Czas (s):", "Obserwatorzy:", "Łódki:", "Ludzie:", "Martwi ludzie:", "Rekiny:",
                            "Martwe rekiny:"};
  QLabel** names[] = {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6, &Label7};
  QLabel** values[] = {&Label8, &Label9, &Label10, &Label11, &Label12, &Label13, &Label14};
  for (int i = 0; i < 7; ++i) {
    QLabel* name = new QLabel(QString::fromUtf8(captions[i]), this);
    name->adjustSize();
    name->move(NameLeft, FirstTop + i * RowPitch);
    *names[i] = name;
    QLabel* value = new QLabel(this);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->move(ValueRight, FirstTop + i * RowPitch);
    *values[i] = value;
    SetValue(value, QStringLiteral("0"));
  }

  BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Zamknij"), this);
  BitBtn1->setGeometry(88, 152, 75, 25);
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &TForm6::BitBtn1Click);

  Form6 = this;
}

TForm6::~TForm6() {
  if (Form6 == this) Form6 = nullptr;
}

void TForm6::BitBtn1Click() { hide(); }

void TForm6::SetValue(QLabel* label, const QString& text) {
  // The refresh runs ten times a second; leaving unchanged labels alone
  // spares the relayout and repaint.
  if (label->text() == text) return;
  label->setText(text);
  label->adjustSize();
  label->move(ValueRight - label->width(), label->y());
}

void TForm6::RefreshStatistics() {
  using wymianadanych::World;
  int32_t elapsed, counters[6];
  std::string separator;
  {
    std::lock_guard guard(World.Lock);
    elapsed = World.ElapsedMs;
    counters[0] = World.ObserverCount;
    counters[1] = World.BoatCount;
    counters[2] = World.PersonCount;
    counters[3] = World.DeadPeople;
    counters[4] = World.SharkCount;
    counters[5] = World.DeadSharks;
    separator = World.DecimalSeparator;
  }
  SetValue(Label8, QString::fromStdString(wymianadanych::FormatGeneral(elapsed / 1000.0, separator)));
  QLabel* values[] = {Label9, Label10, Label11, Label12, Label13, Label14};
  for (int i = 0; i < 6; ++i) SetValue(values[i], QString::number(counters[i]));
}
