// The messages window: the simulation's event messages, one per row; its
// context menu copies the selected ones or saves them all to a text file.
#pragma once

#include <string>
#include <vector>

#include <QDialog>
#include <QStringList>

#include "file_choice.h"

class QAction;
class QFileDialog;
class QMenu;
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
  void Kopiuj1Click();            // "Kopiuj": the selected messages to the clipboard
  void ZapiszWszystkie1Click();  // "Zapisz wszystkie…": every message to a text file

  // Text of row `row` (empty for a row without text).
  QString RowText(int row) const;
  // The messages of the grid, top to bottom; blank rows are none.
  QStringList Messages() const;
  // The messages of the selected rows, top to bottom.
  QStringList SelectedMessages() const;

  QTableWidget* StringGrid1;
  QPushButton* BitBtn1;
  QMenu* PopupMenu1;
  QAction* Kopiuj1;
  QAction* ZapiszWszystkie1;

  // Kept for the window's life, so it proposes the name last chosen in it.
  QFileDialog* SaveDialog1;
  TFileChooser ChooseFile;

 private:
  void SetRowText(int row, const QString& text);
};

extern TForm7* Form7;
