#pragma once

#include <QString>

namespace lexora {

// Writes what the file system holds of the file to disk; false when it cannot be opened or synced.
bool SyncFile(const QString& path);

// Writes all size bytes to the open file, carrying on after interruptions; false with errno set.
bool WriteAll(int fd, const char* data, long long size);

// Renames from over to in one step (a file or a folder) and syncs the folder that holds it, so the
// new name survives a power cut; false with the reason in error.
bool ReplaceFile(const QString& from, const QString& to, QString* error);

// Copies from into a file made afresh at to (whatever was planted there is removed first, never
// followed), readable and writable by its owner only whatever the source's mode, synced to disk.
// False with the reason (disk full, folder not writable) in error; nothing is left at to then.
bool CopyFileAfresh(const QString& from, const QString& to, QString* error);

} // namespace lexora
