#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace lexora {

// Reads a whole file; nothing when it is missing or unreadable.
std::optional<QByteArray> ReadWholeFile(const QString& path);

// Gives a media file its other form: `content` (the source's bytes, transformed) becomes the file
// `target`, then `source` is removed. The new file is written and synced under no name (or a hidden
// temporary one) before it takes the target's name, so a crash at any moment leaves the source whole
// and the target either absent, as it was, or whole. False when the target could not be written; the
// source is then untouched. A source that cannot be removed afterwards stays beside the target.
bool ReplaceMediaFile(const QString& source, const QString& target, const QByteArray& content);

// ReplaceMediaFile with the head-transformed bytes of source.
bool TransformMediaFile(const QString& source, const QString& target);

} // namespace lexora
