// The statistics window: the simulated time and the six counters.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TForm6 : public QDialog {
  Q_OBJECT

 public:
  // Right edge of the value labels, which grow to the left.
  static constexpr int ValueRight = 192;

  explicit TForm6(QWidget* parent = nullptr);
  ~TForm6() override;

  // Writes the seven value labels from the world; runs whether or not the
  // window is shown.
  void RefreshStatistics();
  void BitBtn1Click();

  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  QLabel* Label5;
  QLabel* Label6;
  QLabel* Label7;
  QLabel* Label8;
  QLabel* Label9;
  QLabel* Label10;
  QLabel* Label11;
  QLabel* Label12;
  QLabel* Label13;
  QLabel* Label14;
  QPushButton* BitBtn1;

 private:
  void SetValue(QLabel* label, const QString& text);
};

extern TForm6* Form6;
