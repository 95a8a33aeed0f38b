#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace lexora {

// A whole regular file of at most maxBytes; nothing (and why, when asked) for a missing or unreadable
// file, a larger one, or anything but a regular file. Opened without blocking and checked before it
// is read, so that a FIFO or device planted where a file should be cannot hang the caller.
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes, QString* why = nullptr);

// Reads a whole regular file; nothing when it is missing, unreadable or no regular file.
std::optional<QByteArray> ReadWholeFile(const QString& path);

// The points of a replace at which a test can stop it, as a crash would.
enum class ReplaceStep
{
    NewContentWritten, // whole and synced under a hidden name beside the target
    TargetReplaced,    // renamed over the target; the source still there
};
// Asked at each step; false stops the replace there.
using ReplaceCheckpoint = std::function<bool(ReplaceStep)>;

// Gives a media file its other form: `content` (the source's bytes, transformed) becomes the file
// `target`, then `source` is removed. The new content is written and synced under a hidden name, then
// renamed over the target in one step, so at every moment the target is absent (as it was), whole
// with its old content, or whole with the new one, and the source is whole until the target is.
// False when the target could not be written (or a checkpoint stopped it); the source is then
// untouched. A source that cannot be removed afterwards stays beside the target.
bool ReplaceMediaFile(const QString& source, const QString& target, const QByteArray& content,
                      const ReplaceCheckpoint& checkpoint = {});

// ReplaceMediaFile with the head-transformed bytes of source.
bool TransformMediaFile(const QString& source, const QString& target);

} // namespace lexora
