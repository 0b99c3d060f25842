#include "labeled_edit.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>

TLabeledEdit::TLabeledEdit(const QString& caption, QWidget* parent)
    : QWidget(parent), label_(new QLabel(caption, this)), edit_(new QLineEdit(this)) {
  label_->setBuddy(edit_);
  // No focus proxy: a proxied container stays in the window's tab chain at
  // its creation place and would pull the focus into its edit out of the
  // keyboard order that the dialogs give the edits themselves.
  edit_->installEventFilter(this);
  PlaceEdit(0, CaptionHeight, 121);
}

QString TLabeledEdit::Text() const { return edit_->text(); }

void TLabeledEdit::SetText(const QString& text) { edit_->setText(text); }

QLineEdit* TLabeledEdit::Edit() { return edit_; }

QLabel* TLabeledEdit::Label() { return label_; }

void TLabeledEdit::PlaceEdit(int x, int y, int width) {
  setGeometry(x, y - CaptionHeight, width, CaptionHeight + EditHeight);
  label_->setGeometry(0, 0, width, CaptionHeight - 2);
  edit_->setGeometry(0, CaptionHeight, width, EditHeight);
}

bool TLabeledEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::FocusOut) {
    // A message box or a menu taking the focus for a moment is not leaving
    // the edit; only a move to another control of this window is.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) emit Exited();
  }
  return QWidget::eventFilter(watched, event);
}
