#include "file_choice.h"

#include <QFileDialog>

QString RunFileDialog(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? QString() : files.first();
}

QFileDialog* MakeSaveDialog(QWidget* parent, const QString& title, const QStringList& filters, const QString& suffix) {
  auto* dialog = new QFileDialog(parent);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setNameFilters(filters);
  if (!filters.isEmpty()) dialog->selectNameFilter(filters.first());
  dialog->setDefaultSuffix(suffix);
  dialog->setWindowTitle(title);
  return dialog;
}

QString ChooseFileWith(const TFileChooser& chooser, QFileDialog& dialog) {
  const QString path = chooser ? chooser(dialog) : QString();
  // Offered by the name it has on disk, with the extension the dialog may
  // have added, not the name as typed.
  if (!path.isEmpty()) dialog.selectFile(path);
  return path;
}
