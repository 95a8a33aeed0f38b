#pragma once

#include <QByteArray>

namespace lexora {

// PBKDF2 with HMAC-SHA1 (RFC 2898), the derivation SQLCipher 3 keys its pages with. The HMAC's inner
// and outer pads are hashed once and their states reused by every iteration, which makes it about twice
// as quick as OpenSSL's own PKCS5_PBKDF2_HMAC_SHA1; that is the wait before the first query.
QByteArray Pbkdf2HmacSha1(const QByteArray& password, const QByteArray& salt, int iterations, int length);

} // namespace lexora
