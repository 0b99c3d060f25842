#include "wendoUnit7.h"

#include <algorithm>

#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

#include "dialog_font.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowTitle(QStringLiteral("Wiadomości"));
  setFont(DialogFont());
  setFixedSize(393, 171);
  move(618, 535);

  StringGrid1 = new QTableWidget(InitialRows, 1, this);
  StringGrid1->setGeometry(0, 0, 393, 120);
  StringGrid1->horizontalHeader()->hide();
  StringGrid1->verticalHeader()->hide();
  // Fixed row heights keep appending rows cheap: the header never has to
  // measure the contents.
  StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  StringGrid1->verticalHeader()->setMinimumSectionSize(1);
  StringGrid1->verticalHeader()->setDefaultSectionSize(20);
  StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  StringGrid1->setColumnWidth(0, 350);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setWordWrap(false);
  StringGrid1->setTextElideMode(Qt::ElideNone);
  StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setAutoScroll(false);

  BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Zamknij"), this);
  BitBtn1->setGeometry(160, 136, 75, 25);
  // An ordinary button: a dialog would otherwise make its first push button
  // the default one, and Enter while reading the messages would close them.
  BitBtn1->setAutoDefault(false);
  connect(BitBtn1, &QPushButton::clicked, this, &TForm7::BitBtn1Click);

  Form7 = this;
}

TForm7::~TForm7() {
  if (Form7 == this) Form7 = nullptr;
}

void TForm7::BitBtn1Click() { hide(); }

QString TForm7::RowText(int row) const {
  const QTableWidgetItem* item = StringGrid1->item(row, 0);
  return item ? item->text() : QString();
}

void TForm7::SetRowText(int row, const QString& text) {
  if (QTableWidgetItem* item = StringGrid1->item(row, 0)) {
    item->setText(text);
  } else if (!text.isEmpty()) {
    StringGrid1->setItem(row, 0, new QTableWidgetItem(text));
  }
}

void TForm7::ResetGrid() { StringGrid1->setRowCount(1); }

void TForm7::AppendMessages(const std::vector<std::string>& pending) {
  const int r = std::max(StringGrid1->rowCount(), 1);
  const int n = static_cast<int>(pending.size());
  if (StringGrid1->rowCount() != r + n) StringGrid1->setRowCount(r + n);
  for (int i = 0; i < n; ++i) SetRowText(r - 1 + i, QString::fromStdString(pending[i]));
  SetRowText(r + n - 1, QString());
}
