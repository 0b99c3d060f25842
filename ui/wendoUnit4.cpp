#include "wendoUnit4.h"

#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>

#include "dialog_style.h"
#include "edit_value.h"
#include "labeled_edit.h"
#include "wymianadanych.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
  FrameDialog(*this, QStringLiteral("Symulacja"));
  setFixedSize(221, 190);
  move(192, 107);

  LabeledEdit1 = new TLabeledEdit(QStringLiteral("Krok symulacji (ms)"), this);
  LabeledEdit1->PlaceEdit(34, 36, 153);
  LabeledEdit2 = new TLabeledEdit(QStringLiteral("Krok odświerzania (ms)"), this);
  LabeledEdit2->PlaceEdit(34, 92, 153);

  BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Anuluj"), this);
  BitBtn2->setGeometry(34, 144, 75, 25);
  BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
  BitBtn1->setGeometry(112, 144, 75, 25);
  BitBtn1->setDefault(true);
  BitBtn2->setAutoDefault(false);
  connect(BitBtn1, &QPushButton::clicked, this, &TForm4::BitBtn1Click);
  // Cancel, like Esc and the close box, only closes.
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

  setTabOrder(LabeledEdit1->Edit(), LabeledEdit2->Edit());
  setTabOrder(LabeledEdit2->Edit(), BitBtn1);
  setTabOrder(BitBtn1, BitBtn2);

  Form4 = this;
}

TForm4::~TForm4() {
  if (Form4 == this) Form4 = nullptr;
}

void TForm4::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TForm4::FormShow() {
  LabeledEdit1->SetText(QString::number(wymianadanych::World.SimStepMs.load()));
  LabeledEdit2->SetText(QString::number(wymianadanych::World.RefreshMs.load()));
  LabeledEdit1->Edit()->setFocus();
}

void TForm4::BitBtn1Click() {
  // Both texts are tested before either period changes.
  const std::optional<int32_t> step = ValueOrReject(*LabeledEdit1, ParameterEnding);
  if (!step) return;
  const std::optional<int32_t> refresh = ValueOrReject(*LabeledEdit2, ParameterEnding);
  if (!refresh) return;
  wymianadanych::World.SimStepMs = *step;
  wymianadanych::World.RefreshMs = *refresh;
  if (OnTimingChanged) OnTimingChanged();
  accept();
}
