// The objects dialog: observation points and boats (added where the user
// points on the map, removed by selection) and the eight parameters of the
// people and the sharks.
#pragma once

#include <QDialog>
#include <QPointer>

class QPushButton;
class QTabWidget;
class QTableWidget;
class TLabeledEdit;

class TForm5 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm5(QWidget* parent = nullptr);
  ~TForm5() override;

  // Writes the header texts of both grids.
  void FormCreate();
  // Fills both grids and the eight parameter edits from the world; runs at
  // every showing.
  void FormShow();
  void Button1Click();  // add an observation point
  void Button2Click();  // remove the selected observation points
  void Button3Click();  // add a boat
  void Button4Click();  // remove the selected boats
  // Exit check of a parameter edit: a text that is not a number brings its
  // page back, takes the focus back and is reported.
  void CheckEdit(TLabeledEdit* edit);
  // "OK": stores the eight parameters when all eight are numbers.
  void BitBtn1Click();

  // The grids counted as the dialog's logic counts them: row 0 is the
  // header, row r shows list element r - 1, and the last row is blank.
  static int RowCount(const QTableWidget* grid);
  static void SetRowCount(QTableWidget* grid, int rows);
  static QString Cell(const QTableWidget* grid, int col, int row);
  static void SetCell(QTableWidget* grid, int col, int row, const QString& text);
  // First and last selected row, or the current row when none is selected;
  // false when the grid has neither.
  static bool SelectedRows(const QTableWidget* grid, int& top, int& bottom);

  QTabWidget* PageControl1;
  QWidget* TabSheet1;  // "Punkty obserwacyjne"
  QWidget* TabSheet2;  // "Łodzie"
  QWidget* TabSheet3;  // "Ludzie"
  QWidget* TabSheet4;  // "Rekiny"
  QTableWidget* StringGrid1;
  QTableWidget* StringGrid2;
  TLabeledEdit* LabeledEdit1;   // range of the next observation point
  TLabeledEdit* LabeledEdit2;   // speed of the next boat
  TLabeledEdit* LabeledEdit3;   // range of the next boat
  TLabeledEdit* LabeledEdit4;   // PersonSpeed
  TLabeledEdit* LabeledEdit5;   // PersonRange
  TLabeledEdit* LabeledEdit6;   // PersonArrivalS
  TLabeledEdit* LabeledEdit7;   // PersonMax
  TLabeledEdit* LabeledEdit8;   // SharkArrivalS
  TLabeledEdit* LabeledEdit9;   // SharkMax
  TLabeledEdit* LabeledEdit10;  // SharkSpeed
  TLabeledEdit* LabeledEdit11;  // SharkRange
  QPushButton* Button1;
  QPushButton* Button2;
  QPushButton* Button3;
  QPushButton* Button4;
  QPushButton* BitBtn1;  // "OK"
  QPushButton* BitBtn2;  // "Anuluj"

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildPoints();
  void BuildBoats();
  void BuildPeople();
  void BuildSharks();
  // The four edits of the people's or the sharks' page.
  void BuildParameterPage(QWidget* page, TLabeledEdit*& arrival, TLabeledEdit*& maximum, TLabeledEdit*& speed,
                          TLabeledEdit*& range);
  void BuildButtons();
  void SetKeyboardOrder();
  QTableWidget* MakeGrid(QWidget* page, int columns);
  void WatchExit(TLabeledEdit* edit);
  void RunPendingCheck();
  void RejectParameter(TLabeledEdit* edit);

  // The edit whose exit check waits for the event loop: the check switches
  // pages, which must not happen inside the page switch that moved the focus.
  QPointer<TLabeledEdit> pendingCheck_;
  // Set while the dialog moves the focus itself, so that move is no exit.
  bool refocusing_ = false;
};

extern TForm5* Form5;
