// The messages window: the simulation's event messages, one per row.
#pragma once

#include <string>
#include <vector>

#include <QDialog>

class QPushButton;
class QTableWidget;

class TForm7 : public QDialog {
  Q_OBJECT

 public:
  static constexpr int InitialRows = 5;

  explicit TForm7(QWidget* parent = nullptr);
  ~TForm7() override;

  // Appends messages drained from the event log, in order, the first into
  // the blank last row, and leaves one blank row at the end (with none, only
  // blanks the last row). The main window's 100 ms tick calls it.
  void AppendMessages(const std::vector<std::string>& messages);
  // Shrinks the grid to its single-row minimum (start and resume of a run);
  // the next tick blanks that row or fills it.
  void ResetGrid();
  void BitBtn1Click();

  // Text of row `row` (empty for a row without text).
  QString RowText(int row) const;

  QTableWidget* StringGrid1;
  QPushButton* BitBtn1;

 private:
  void SetRowText(int row, const QString& text);
};

extern TForm7* Form7;
