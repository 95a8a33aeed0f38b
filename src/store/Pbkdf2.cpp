#include "store/Pbkdf2.h"

// The one-block SHA-1 calls that make the pads' states reusable are deprecated in OpenSSL 3 but kept;
// its EVP interface copies a whole digest context per iteration instead.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <algorithm>
#include <array>
#include <functional>
#include <openssl/sha.h>

namespace lexora {

namespace {

constexpr int kBlock = SHA_CBLOCK;
using Digest = std::array<unsigned char, SHA_DIGEST_LENGTH>;

// The state after hashing one block: the key padded and xored with pad.
SHA_CTX padState(const std::array<unsigned char, kBlock>& key, unsigned char pad)
{
    std::array<unsigned char, kBlock> block;
    std::transform(key.begin(), key.end(), block.begin(), [pad](unsigned char b) { return b ^ pad; });
    SHA_CTX state;
    SHA1_Init(&state);
    SHA1_Update(&state, block.data(), block.size());
    return state;
}

Digest finish(SHA_CTX state, const unsigned char* data, size_t size)
{
    Digest digest;
    SHA1_Update(&state, data, size);
    SHA1_Final(digest.data(), &state);
    return digest;
}

} // namespace

QByteArray Pbkdf2HmacSha1(const QByteArray& password, const QByteArray& salt, int iterations, int length)
{
    std::array<unsigned char, kBlock> key{};
    if (password.size() > kBlock)
        SHA1(reinterpret_cast<const unsigned char*>(password.constData()),
             static_cast<size_t>(password.size()), key.data());
    else
        std::copy(password.begin(), password.end(), key.begin());
    const SHA_CTX inner = padState(key, 0x36);
    const SHA_CTX outer = padState(key, 0x5c);
    const auto hmac = [&](const unsigned char* data, size_t size) {
        const Digest inside = finish(inner, data, size);
        return finish(outer, inside.data(), inside.size());
    };

    QByteArray derived;
    for (quint32 index = 1; derived.size() < length; ++index) {
        QByteArray first = salt;
        for (int shift = 24; shift >= 0; shift -= 8)
            first.append(static_cast<char>((index >> shift) & 0xff));
        Digest u = hmac(reinterpret_cast<const unsigned char*>(first.constData()),
                        static_cast<size_t>(first.size()));
        Digest sum = u;
        for (int i = 1; i < iterations; ++i) {
            u = hmac(u.data(), u.size());
            std::transform(sum.begin(), sum.end(), u.begin(), sum.begin(), std::bit_xor<>());
        }
        derived.append(
            reinterpret_cast<const char*>(sum.data()),
            std::min<int>(static_cast<int>(sum.size()), length - static_cast<int>(derived.size())));
    }
    return derived;
}

} // namespace lexora
