// The number typed into a labelled edit, and the message that rejects a
// text that is not one; the timing and objects dialogs both use them.
#pragma once

#include <cstdint>
#include <optional>

#include <QString>

class TLabeledEdit;

// Ending of the message for a rejected period or person and shark parameter.
inline const QString ParameterEnding = QStringLiteral("nie jest prawidłową wartością.");
// Ending of the message for a rejected range or speed of a new object.
inline const QString NewObjectEnding = QStringLiteral("nie jest poprawną wartością.");

// The edit's text as a signed 32-bit integer; nothing when it is not a
// valid number.
std::optional<int32_t> EditValue(const TLabeledEdit& edit);

// The edit's text in double quotation marks, a space and `ending`.
QString RejectionMessage(const TLabeledEdit& edit, const QString& ending);

// The edit's value; when its text is not a valid number, the edit gets the
// focus, the rejection message is shown and nothing is returned.
std::optional<int32_t> ValueOrReject(TLabeledEdit& edit, const QString& ending);
