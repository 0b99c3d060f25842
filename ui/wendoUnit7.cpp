#include "wendoUnit7.h"

#include <algorithm>

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

#include "dialog_style.h"
#include "error_report.h"
#include "replacing_save.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(QWidget* parent) : QDialog(parent), ChooseFile(RunFileDialog) {
  FrameDialog(*this, QStringLiteral("Wiadomości"));
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

  PopupMenu1 = new QMenu(this);
  Kopiuj1 = PopupMenu1->addAction(QStringLiteral("Kopiuj"));
  ZapiszWszystkie1 = PopupMenu1->addAction(QStringLiteral("Zapisz wszystkie…"));
  connect(Kopiuj1, &QAction::triggered, this, &TForm7::Kopiuj1Click);
  connect(ZapiszWszystkie1, &QAction::triggered, this, &TForm7::ZapiszWszystkie1Click);
  StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(StringGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    Kopiuj1->setEnabled(!SelectedMessages().isEmpty());
    ZapiszWszystkie1->setEnabled(!Messages().isEmpty());
    PopupMenu1->popup(StringGrid1->viewport()->mapToGlobal(at));
  });
  SaveDialog1 = MakeSaveDialog(this, QStringLiteral("Zapisz wszystkie"),
                               {QStringLiteral("Pliki tekstowe (*.txt)"), QStringLiteral("Wszystkie Pliki (*)")},
                               QStringLiteral("txt"));

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

QStringList TForm7::Messages() const {
  QStringList texts;
  for (int row = 0; row < StringGrid1->rowCount(); ++row)
    if (const QString text = RowText(row); !text.isEmpty()) texts << text;
  return texts;
}

QStringList TForm7::SelectedMessages() const {
  QList<int> rows;
  for (const QModelIndex& index : StringGrid1->selectionModel()->selectedIndexes()) rows << index.row();
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  QStringList texts;
  for (int row : rows)
    if (const QString text = RowText(row); !text.isEmpty()) texts << text;
  return texts;
}

void TForm7::Kopiuj1Click() {
  const QStringList texts = SelectedMessages();
  if (!texts.isEmpty()) QGuiApplication::clipboard()->setText(texts.join(u'\n'));
}

void TForm7::ZapiszWszystkie1Click() {
  Guarded([this] {
    const QString path = ChooseFileWith(ChooseFile, *SaveDialog1);
    if (path.isEmpty()) return;
    QByteArray text;
    for (const QString& message : Messages()) text += message.toUtf8() + '\n';
    GuardedSave(path, [&] { SaveReplacing(path, std::string_view(text.constData(), static_cast<size_t>(text.size()))); });
  });
}

void TForm7::ResetGrid() { StringGrid1->setRowCount(1); }

void TForm7::AppendMessages(const std::vector<std::string>& pending) {
  const int r = std::max(StringGrid1->rowCount(), 1);
  const int n = static_cast<int>(pending.size());
  if (StringGrid1->rowCount() != r + n) StringGrid1->setRowCount(r + n);
  for (int i = 0; i < n; ++i) SetRowText(r - 1 + i, QString::fromStdString(pending[i]));
  SetRowText(r + n - 1, QString());
}
