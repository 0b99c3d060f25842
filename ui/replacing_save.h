// Saving a file the user chose so that a failure never leaves it
// half-written.
#pragma once

#include <string_view>

#include <QString>

// Writes `bytes` to a temporary file in the same folder and renames it over
// `path` once complete. On failure the old file (if any) is untouched, no
// temporary file remains, and TScenarioError carries the reason.
void SaveReplacing(const QString& path, std::string_view bytes);
