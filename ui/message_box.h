// The simple message box and the default error report, both captioned
// with the program's own name, and a hook that lets tests take the texts
// instead of showing modal boxes.
#pragma once

#include <functional>

#include <QString>

using TMessageSink = std::function<void(const QString&)>;

// With a sink set, ShowMessage hands its text to the sink and shows nothing.
void SetMessageSink(TMessageSink sink);
// With this sink set, ShowErrorReport hands its finished text (full stop
// included) to it; without it, an error report falls back to the message
// sink when that one is set.
void SetErrorReportSink(TMessageSink sink);

// The program file's name without its extension.
QString MessageCaption();

// A box with the text and an "OK" button.
void ShowMessage(const QString& text);

// The error text with a full stop appended when its last character's code
// is above that of the full stop.
QString ErrorReportText(const QString& errorText);

// A modal box with the error icon, one "OK" button and ErrorReportText.
void ShowErrorReport(const QString& errorText);
