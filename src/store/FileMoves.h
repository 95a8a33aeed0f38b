#pragma once

#include <QString>

namespace lexora {

// Writes what the file system holds of the file to disk; false when it cannot be opened or synced.
bool SyncFile(const QString& path);

// Renames from over to in one step (a file or a folder); false with the reason in error.
bool ReplaceFile(const QString& from, const QString& to, QString* error);

} // namespace lexora
