#include "edit_value.h"

#include <QLineEdit>

#include "labeled_edit.h"
#include "message_box.h"
#include "numbers.h"

std::optional<int32_t> EditValue(const TLabeledEdit& edit) {
  return wymianadanych::ParseInt32(edit.Text().toStdString());
}

QString RejectionMessage(const TLabeledEdit& edit, const QString& ending) {
  return u'"' + edit.Text() + QStringLiteral("\" ") + ending;
}

std::optional<int32_t> ValueOrReject(TLabeledEdit& edit, const QString& ending) {
  std::optional<int32_t> value = EditValue(edit);
  if (!value) {
    edit.Edit()->setFocus();
    ShowMessage(RejectionMessage(edit, ending));
  }
  return value;
}
