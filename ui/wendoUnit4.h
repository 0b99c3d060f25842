// The timing dialog: simulation step and display refresh period.
#pragma once

#include <functional>

#include <QDialog>

class QPushButton;
class TLabeledEdit;

class TForm4 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm4(QWidget* parent = nullptr);
  ~TForm4() override;

  // Fills both edits from the parameters; runs at every showing.
  void FormShow();
  // "OK": tests both texts, then stores both and closes.
  void BitBtn1Click();

  // Called after both periods were stored, so that sleeping worker threads
  // look at the new periods at once.
  std::function<void()> OnTimingChanged;

  TLabeledEdit* LabeledEdit1;
  TLabeledEdit* LabeledEdit2;
  QPushButton* BitBtn1;  // "OK"
  QPushButton* BitBtn2;  // "Anuluj"

 protected:
  void showEvent(QShowEvent* event) override;
};

extern TForm4* Form4;
