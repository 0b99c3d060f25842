// The file dialogs of the windows, and the hook through which tests answer
// them without showing a dialog.
#pragma once

#include <functional>

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

// Shows a file dialog and returns the chosen path, or an empty string when
// the user cancels.
using TFileChooser = std::function<QString(QFileDialog& dialog)>;

// The chooser the program uses: runs the dialog modally.
QString RunFileDialog(QFileDialog& dialog);

// A save dialog for a window to keep, so it proposes the name last chosen
// in it: the toolkit's own dialog (its texts are translated), `filters`
// with the first one selected, `suffix` added to a name typed without one,
// and a question before an existing file is replaced.
QFileDialog* MakeSaveDialog(QWidget* parent, const QString& title, const QStringList& filters, const QString& suffix);

// Asks `chooser` for a path; the dialog then offers that file next time.
QString ChooseFileWith(const TFileChooser& chooser, QFileDialog& dialog);
