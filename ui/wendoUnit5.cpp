#include "wendoUnit5.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <vector>

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

#include "dialog_style.h"
#include "edit_value.h"
#include "labeled_edit.h"
#include "message_box.h"
#include "wendoUnit2.h"
#include "wendoUnit3.h"
#include "wymianadanych.h"

TForm5* Form5 = nullptr;

using wymianadanych::World;

namespace {

constexpr int RowHeight = 20;

QString Number(int32_t v) { return QString::number(v); }

// The mini-map first, so the user can move the map's view, then the map,
// where an accepted click stores the point and closes the window.
void PickPoint() {
  if (Form3) Form3->exec();
  if (Form2) Form2->exec();
}

// Removes the selected data rows from the grid and the same elements from
// the list; the blank last row and the header are never removed.
template <class T>
void RemoveSelected(QTableWidget* grid, std::vector<T>& list) {
  int top = 0, bottom = 0;
  if (!TForm5::SelectedRows(grid, top, bottom)) return;
  const int last = TForm5::RowCount(grid) - 1;
  if (bottom >= last) bottom = last - 1;
  if (top < 1) top = 1;
  if (top > bottom) return;
  const int k = bottom - top + 1;
  for (int b = bottom + 1; b <= last; ++b)
    for (int c = 0; c < grid->columnCount(); ++c) TForm5::SetCell(grid, c, b - k, TForm5::Cell(grid, c, b));
  TForm5::SetRowCount(grid, last + 1 - k);

  std::lock_guard guard(World.Lock);
  const size_t first = std::min<size_t>(top - 1, list.size());
  const size_t end = std::min<size_t>(bottom, list.size());
  list.erase(list.begin() + first, list.begin() + end);
}

}  // namespace

// ---------------------------------------------------------------- grid rows

int TForm5::RowCount(const QTableWidget* grid) { return grid->rowCount() + 1; }

void TForm5::SetRowCount(QTableWidget* grid, int rows) { grid->setRowCount(std::max(rows, 2) - 1); }

QString TForm5::Cell(const QTableWidget* grid, int col, int row) {
  const QTableWidgetItem* item = row == 0 ? grid->horizontalHeaderItem(col) : grid->item(row - 1, col);
  return item ? item->text() : QString();
}

void TForm5::SetCell(QTableWidget* grid, int col, int row, const QString& text) {
  if (row == 0) {
    grid->setHorizontalHeaderItem(col, new QTableWidgetItem(text));
  } else if (QTableWidgetItem* item = grid->item(row - 1, col)) {
    item->setText(text);
  } else if (!text.isEmpty()) {
    grid->setItem(row - 1, col, new QTableWidgetItem(text));
  }
}

bool TForm5::SelectedRows(const QTableWidget* grid, int& top, int& bottom) {
  const QList<QTableWidgetSelectionRange> ranges = grid->selectedRanges();
  if (ranges.isEmpty()) {
    if (grid->currentRow() < 0) return false;
    top = bottom = grid->currentRow() + 1;
    return true;
  }
  top = ranges.front().topRow();
  bottom = ranges.front().bottomRow();
  for (const auto& r : ranges) {
    top = std::min(top, r.topRow());
    bottom = std::max(bottom, r.bottomRow());
  }
  ++top;
  ++bottom;
  return true;
}

// ---------------------------------------------------------------- layout

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
  FrameDialog(*this, QStringLiteral("Obiekty"));
  setFixedSize(425, 273);
  move(315, 152);

  PageControl1 = new QTabWidget(this);
  PageControl1->setGeometry(0, 0, 425, 225);
  TabSheet1 = new QWidget;
  TabSheet2 = new QWidget;
  TabSheet3 = new QWidget;
  TabSheet4 = new QWidget;
  PageControl1->addTab(TabSheet1, QStringLiteral("Punkty obserwacyjne"));
  PageControl1->addTab(TabSheet2, QStringLiteral("Łodzie"));
  PageControl1->addTab(TabSheet3, QStringLiteral("Ludzie"));
  PageControl1->addTab(TabSheet4, QStringLiteral("Rekiny"));
  // A click on a tab leaves the focus on the tab bar, as Ctrl+Tab or the
  // arrow keys would, rather than carrying it into the new page.
  PageControl1->tabBar()->setFocusPolicy(Qt::StrongFocus);

  BuildPoints();
  BuildBoats();
  BuildPeople();
  BuildSharks();
  BuildButtons();
  SetKeyboardOrder();
  FormCreate();

  Form5 = this;
}

TForm5::~TForm5() {
  if (Form5 == this) Form5 = nullptr;
}

QTableWidget* TForm5::MakeGrid(QWidget* page, int columns) {
  auto* grid = new QTableWidget(1, columns, page);
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->verticalHeader()->setMinimumSectionSize(1);
  grid->verticalHeader()->setDefaultSectionSize(RowHeight);
  grid->horizontalHeader()->setFixedHeight(RowHeight);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grid->horizontalHeader()->setHighlightSections(false);
  grid->horizontalHeader()->setSectionsClickable(false);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setWordWrap(false);
  // A view, not an editor: Tab leaves it for the next control instead of
  // walking its cells, which would trap a keyboard user.
  grid->setTabKeyNavigation(false);
  grid->setCurrentCell(0, 0);
  return grid;
}

void TForm5::BuildPoints() {
  StringGrid1 = MakeGrid(TabSheet1, 3);
  StringGrid1->setGeometry(0, 0, 241, 193);
  StringGrid1->setColumnWidth(0, 64);
  StringGrid1->setColumnWidth(1, 64);
  StringGrid1->setColumnWidth(2, 80);
  LabeledEdit1 = new TLabeledEdit(QStringLiteral("Zasięg (dm)"), TabSheet1);
  LabeledEdit1->PlaceEdit(264, 32, 121);
  Button1 = new QPushButton(QStringLiteral("Dodaj"), TabSheet1);
  Button1->setGeometry(264, 72, 75, 25);
  Button2 = new QPushButton(QStringLiteral("Usuń"), TabSheet1);
  Button2->setGeometry(264, 112, 75, 25);
  connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
}

void TForm5::BuildBoats() {
  StringGrid2 = MakeGrid(TabSheet2, 6);
  StringGrid2->setGeometry(0, 0, 417, 137);
  const int widths[] = {52, 52, 58, 58, 94, 76};
  for (int c = 0; c < 6; ++c) StringGrid2->setColumnWidth(c, widths[c]);
  LabeledEdit2 = new TLabeledEdit(QStringLiteral("Prędkość (dm/s)"), TabSheet2);
  LabeledEdit2->PlaceEdit(8, 160, 113);
  LabeledEdit3 = new TLabeledEdit(QStringLiteral("Zasięg (dm)"), TabSheet2);
  LabeledEdit3->PlaceEdit(132, 160, 113);
  Button3 = new QPushButton(QStringLiteral("Dodaj"), TabSheet2);
  Button3->setGeometry(256, 158, 75, 25);
  Button4 = new QPushButton(QStringLiteral("Usuń"), TabSheet2);
  Button4->setGeometry(336, 158, 75, 25);
  connect(Button3, &QPushButton::clicked, this, &TForm5::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TForm5::Button4Click);
}

void TForm5::BuildPeople() {
  // The keyboard visits speed, range, arrival, maximum (SetKeyboardOrder).
  BuildParameterPage(TabSheet3, LabeledEdit6, LabeledEdit7, LabeledEdit4, LabeledEdit5);
}

void TForm5::BuildSharks() {
  BuildParameterPage(TabSheet4, LabeledEdit8, LabeledEdit9, LabeledEdit10, LabeledEdit11);
}

void TForm5::BuildParameterPage(QWidget* page, TLabeledEdit*& arrival, TLabeledEdit*& maximum, TLabeledEdit*& speed,
                                TLabeledEdit*& range) {
  // Top-down: arrival, maximum, speed, range.
  arrival = new TLabeledEdit(QStringLiteral("Przybywanie (s)"), page);
  arrival->PlaceEdit(16, 24, 121);
  maximum = new TLabeledEdit(QStringLiteral("Maksymalna ilość"), page);
  maximum->PlaceEdit(16, 68, 121);
  speed = new TLabeledEdit(QStringLiteral("Prędkość (dm/s)"), page);
  speed->PlaceEdit(16, 112, 121);
  range = new TLabeledEdit(QStringLiteral("Zasięg (dm)"), page);
  range->PlaceEdit(16, 156, 121);
  for (TLabeledEdit* e : {speed, range, arrival, maximum}) WatchExit(e);
}

void TForm5::BuildButtons() {
  BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Anuluj"), this);
  BitBtn2->setGeometry(254, 238, 75, 25);
  BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
  BitBtn1->setGeometry(338, 238, 75, 25);
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &TForm5::BitBtn1Click);
  // Cancel, like Esc and the close box, only closes: the parameters wait
  // for "OK", and added or removed objects stay as they are.
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm5::SetKeyboardOrder() {
  // Only plain controls are chained: a compound widget (the page control,
  // a labelled edit) drags its whole subtree along and breaks the order.
  // Controls of hidden pages are skipped, so each page's cycle runs from
  // the tab bar through that page's controls to "OK" and "Anuluj".
  QWidget* order[] = {PageControl1->tabBar(),
                      StringGrid1,           LabeledEdit1->Edit(),  Button1,  Button2,
                      StringGrid2,           LabeledEdit2->Edit(),  LabeledEdit3->Edit(), Button3, Button4,
                      LabeledEdit4->Edit(),  LabeledEdit5->Edit(),  LabeledEdit6->Edit(), LabeledEdit7->Edit(),
                      LabeledEdit8->Edit(),  LabeledEdit9->Edit(),  LabeledEdit10->Edit(), LabeledEdit11->Edit(),
                      BitBtn1,               BitBtn2};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void TForm5::FormCreate() {
  const char* points[] = {"X (dm)", "Y (dm)", "Zasięg (dm)"};
  for (int c = 0; c < 3; ++c) SetCell(StringGrid1, c, 0, QString::fromUtf8(points[c]));
  const char* boats[] = {"X (dm)", "Y (dm)", "X-patrol", "Y-patrol", "Prędkość (dm/s)", "Zasięg (dm)"};
  for (int c = 0; c < 6; ++c) SetCell(StringGrid2, c, 0, QString::fromUtf8(boats[c]));
}

// ---------------------------------------------------------------- keyboard

void TForm5::keyPressEvent(QKeyEvent* event) {
  // Ctrl+Tab and Ctrl+Shift+Tab turn the pages from anywhere in the dialog;
  // within the pages the page control itself has done so already.
  const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
  if (tab && (event->modifiers() & Qt::ControlModifier)) {
    const bool back = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
    const int pages = PageControl1->count();
    PageControl1->setCurrentIndex((PageControl1->currentIndex() + (back ? pages - 1 : 1)) % pages);
    return;
  }
  QDialog::keyPressEvent(event);
}

// ---------------------------------------------------------------- showing

void TForm5::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TForm5::FormShow() {
  std::vector<wymianadanych::TObserwator> observers;
  std::vector<wymianadanych::TLodz> boats;
  {
    std::lock_guard guard(World.Lock);
    observers = World.Observers;
    boats = World.Boats;
  }

  SetRowCount(StringGrid1, static_cast<int>(observers.size()) + 2);
  for (size_t i = 0; i < observers.size(); ++i) {
    const auto& o = observers[i];
    const int row = static_cast<int>(i) + 1;
    SetCell(StringGrid1, 0, row, Number(o.X));
    SetCell(StringGrid1, 1, row, Number(o.Y));
    SetCell(StringGrid1, 2, row, Number(o.Range));
  }
  for (int c = 0; c < StringGrid1->columnCount(); ++c) SetCell(StringGrid1, c, RowCount(StringGrid1) - 1, QString());

  SetRowCount(StringGrid2, static_cast<int>(boats.size()) + 2);
  for (size_t i = 0; i < boats.size(); ++i) {
    const auto& b = boats[i];
    const int row = static_cast<int>(i) + 1;
    const int32_t values[] = {b.HomeX, b.HomeY, b.PatrolX, b.PatrolY, b.Speed, b.Range};
    for (int c = 0; c < 6; ++c) SetCell(StringGrid2, c, row, Number(values[c]));
  }
  for (int c = 0; c < StringGrid2->columnCount(); ++c) SetCell(StringGrid2, c, RowCount(StringGrid2) - 1, QString());

  // Each grid always has a current row, the first data row to begin with.
  for (QTableWidget* grid : {StringGrid1, StringGrid2})
    if (grid->currentRow() < 0) grid->setCurrentCell(0, 0);

  LabeledEdit4->SetText(Number(World.PersonSpeed));
  LabeledEdit5->SetText(Number(World.PersonRange));
  LabeledEdit6->SetText(Number(World.PersonArrivalS));
  LabeledEdit7->SetText(Number(World.PersonMax));
  LabeledEdit8->SetText(Number(World.SharkArrivalS));
  LabeledEdit9->SetText(Number(World.SharkMax));
  LabeledEdit10->SetText(Number(World.SharkSpeed));
  LabeledEdit11->SetText(Number(World.SharkRange));
}

// ---------------------------------------------------------------- adding

void TForm5::Button1Click() {
  const std::optional<int32_t> range = ValueOrReject(*LabeledEdit1, NewObjectEnding);
  if (!range) return;
  if (!Form2) return;
  Form2->PickActive = true;
  Form2->PickDone = false;
  Form2->PickKind = TForm2::PickObserver;
  PickPoint();
  // Picking mode ends with the command, whether or not a point came back,
  // so a later click on the map window cannot pick anything.
  Form2->PickActive = false;
  if (!Form2->PickDone) return;

  const int rows = RowCount(StringGrid1);
  SetRowCount(StringGrid1, rows + 1);
  for (int c = 0; c < StringGrid1->columnCount(); ++c) SetCell(StringGrid1, c, rows, QString());
  SetCell(StringGrid1, 0, rows - 1, Number(Form2->PickX));
  SetCell(StringGrid1, 1, rows - 1, Number(Form2->PickY));
  SetCell(StringGrid1, 2, rows - 1, LabeledEdit1->Text());

  wymianadanych::TObserwator observer;
  observer.X = Form2->PickX;
  observer.Y = Form2->PickY;
  observer.Range = *range;
  std::lock_guard guard(World.Lock);
  World.Observers.push_back(observer);
}

void TForm5::Button3Click() {
  const std::optional<int32_t> speed = ValueOrReject(*LabeledEdit2, NewObjectEnding);
  if (!speed) return;
  const std::optional<int32_t> range = ValueOrReject(*LabeledEdit3, NewObjectEnding);
  if (!range) return;
  if (!Form2) return;
  Form2->PickActive = true;
  Form2->PickDone = false;
  Form2->PickKind = TForm2::PickBoat;
  PickPoint();
  if (!Form2->PickDone) {
    Form2->PickActive = false;
    return;
  }

  // The boat goes into the list at once, so the map shows it at its home
  // while the user picks the patrol point.
  size_t index = 0;
  {
    wymianadanych::TLodz boat;
    boat.X = boat.HomeX = Form2->PickX;
    boat.Y = boat.HomeY = Form2->PickY;
    boat.Outbound = true;
    std::lock_guard guard(World.Lock);
    World.Boats.push_back(boat);
    index = World.Boats.size() - 1;
  }
  const int rows = RowCount(StringGrid2);
  SetRowCount(StringGrid2, rows + 1);
  for (int c = 0; c < StringGrid2->columnCount(); ++c) SetCell(StringGrid2, c, rows, QString());
  const int row = rows - 1;
  SetCell(StringGrid2, 0, row, Number(Form2->PickX));
  SetCell(StringGrid2, 1, row, Number(Form2->PickY));

  // Let the map window finish closing before it opens again.
  QCoreApplication::processEvents();
  // The patrol point; a pick ended without a point leaves the home in
  // PickX and PickY, so the boat then patrols its home.
  PickPoint();

  SetCell(StringGrid2, 2, row, Number(Form2->PickX));
  SetCell(StringGrid2, 3, row, Number(Form2->PickY));
  SetCell(StringGrid2, 4, row, LabeledEdit2->Text());
  SetCell(StringGrid2, 5, row, LabeledEdit3->Text());
  Form2->PickActive = false;
  std::lock_guard guard(World.Lock);
  if (index < World.Boats.size()) {
    wymianadanych::TLodz& boat = World.Boats[index];
    boat.PatrolX = Form2->PickX;
    boat.PatrolY = Form2->PickY;
    boat.Speed = *speed;
    boat.Range = *range;
  }
}

// ---------------------------------------------------------------- removing

void TForm5::Button2Click() { RemoveSelected(StringGrid1, World.Observers); }

void TForm5::Button4Click() { RemoveSelected(StringGrid2, World.Boats); }

// ---------------------------------------------------------------- parameters

void TForm5::WatchExit(TLabeledEdit* edit) {
  connect(edit, &TLabeledEdit::Exited, this, [this, edit] {
    if (refocusing_) return;
    pendingCheck_ = edit;
    QMetaObject::invokeMethod(this, &TForm5::RunPendingCheck, Qt::QueuedConnection);
  });
}

void TForm5::RunPendingCheck() {
  TLabeledEdit* edit = pendingCheck_;
  pendingCheck_ = nullptr;
  if (edit && isVisible()) CheckEdit(edit);
}

void TForm5::RejectParameter(TLabeledEdit* edit) {
  refocusing_ = true;
  for (int i = 0; i < PageControl1->count(); ++i)
    if (PageControl1->widget(i)->isAncestorOf(edit)) PageControl1->setCurrentIndex(i);
  edit->Edit()->setFocus();
  refocusing_ = false;
  ShowMessage(RejectionMessage(*edit, ParameterEnding));
}

void TForm5::CheckEdit(TLabeledEdit* edit) {
  if (!EditValue(*edit)) RejectParameter(edit);
}

void TForm5::BitBtn1Click() {
  // Every text is tested before any parameter changes, so a rejected text
  // leaves all eight as they were.
  pendingCheck_ = nullptr;
  TLabeledEdit* edits[] = {LabeledEdit4, LabeledEdit5, LabeledEdit6,  LabeledEdit7,
                           LabeledEdit8, LabeledEdit9, LabeledEdit10, LabeledEdit11};
  int32_t values[8];
  for (int i = 0; i < 8; ++i) {
    const std::optional<int32_t> v = EditValue(*edits[i]);
    if (!v) {
      RejectParameter(edits[i]);
      return;
    }
    values[i] = *v;
  }
  {
    std::lock_guard guard(World.Lock);
    World.PersonSpeed = values[0];
    World.PersonRange = values[1];
    World.PersonArrivalS = values[2];
    World.PersonMax = values[3];
    World.SharkArrivalS = values[4];
    World.SharkMax = values[5];
    World.SharkSpeed = values[6];
    World.SharkRange = values[7];
  }
  accept();
}
