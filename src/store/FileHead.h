#pragma once

#include <QByteArray>
#include <QString>

namespace lexora {

// Files at rest (the word database, ".pet" pictures, ".abw" voices) have the bit order of each of
// their first 72 bytes reversed. The transform is its own inverse.
inline constexpr int kFileHeadLength = 72;

unsigned char ReverseBits(unsigned char byte);

// Transforms the head of a buffer in place; a shorter buffer has all its bytes transformed.
void CryptBytesHead(QByteArray& bytes);

// Transforms a file's head in place with one read and one write, then syncs. A missing file or an
// empty path does nothing. Returns false when the file exists but could not be transformed; error
// then holds the errno value.
bool CryptFileHead(const QString& path, int* error = nullptr);

} // namespace lexora
