#pragma once

#include <QString>

namespace lexora {

// Media the tool copies: the plain form the authors keep and the encoded form the program reads.
enum class MediaKind
{
    Voice,   // ".wav" -> ".abw"
    Picture, // ".jpg" -> ".pet"
};

QString PlainExtension(MediaKind kind);
QString EncodedExtension(MediaKind kind);

// Joins a folder as typed or chosen by the author (with or without a trailing "/") and a file name.
// An empty folder gives an empty path rather than a name relative to the working folder.
QString JoinPath(const QString& folder, const QString& name);

// The encoded name of a plain media path: the path without its last four characters (".wav",
// ".JPG", ...) followed by ".abw" or ".pet".
QString EncodedPathOf(const QString& plainPath, MediaKind kind);

// EncodeAudioFile / EncodePicFile: turns the plain file at the path into its encoded file beside
// it, replacing an older one, and removes the plain file. The encoded file is written whole or not
// at all. A missing plain file is nothing to do (true); false when writing or removing failed.
bool EncodeMediaFile(const QString& plainPath, MediaKind kind);
inline bool EncodeAudioFile(const QString& path)
{
    return EncodeMediaFile(path, MediaKind::Voice);
}
inline bool EncodePicFile(const QString& path)
{
    return EncodeMediaFile(path, MediaKind::Picture);
}

// Copying a source file to a plain target followed by encoding it, in one step: the encoded file
// beside the plain target's name is written straight from the source, so no plain copy lands in
// the destination, and a plain file already at the target (an older run's) is removed. False when
// the source cannot be read or the destination not written.
bool CopyEncoded(const QString& sourcePath, const QString& plainTarget, MediaKind kind);

// "数据库加解密": applies the file-head transform to any file, keeping its name, with the one synced
// write of the head the database toggle uses. False when it is missing or unwritable.
bool ToggleFileHead(const QString& path);

} // namespace lexora
