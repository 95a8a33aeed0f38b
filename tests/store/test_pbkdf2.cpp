#include "store/Pbkdf2.h"

#include <gtest/gtest.h>

using lexora::Pbkdf2HmacSha1;

namespace {

struct Vector
{
    QByteArray password;
    QByteArray salt;
    int iterations;
    const char* derivedHex;
};

class Pbkdf2 : public testing::TestWithParam<Vector>
{};

// Published vectors (RFC 6070, RFC 3962): one and many iterations, a key longer than one digest, NULs
// inside both inputs, and passwords of exactly one block and longer than a block (hashed first).
INSTANTIATE_TEST_SUITE_P(
    Published, Pbkdf2,
    testing::Values(Vector{"password", "salt", 1, "0c60c80f961f0e71f3a9b524af6012062fe037a6"},
                    Vector{"password", "salt", 4096, "4b007901b765489abead49d926f721d065a429c1"},
                    Vector{"passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096,
                           "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038"},
                    Vector{QByteArray("pass\0word", 9), QByteArray("sa\0lt", 5), 4096,
                           "56fa6aa75548099dcc37d7f03425e0c3"},
                    Vector{QByteArray(64, 'X'), "pass phrase equals block size", 1200,
                           "139c30c0966bc32ba55fdbf212530ac9c5ec59f1a452f5cc9ad940fea0598ed1"},
                    Vector{QByteArray(65, 'X'), "pass phrase exceeds block size", 1200,
                           "9ccad6d468770cd51b10e6a68721be611a8b4d282601db3b36be9246915ec82a"}));

TEST_P(Pbkdf2, DerivesThePublishedKey)
{
    const Vector& v = GetParam();
    const QByteArray expected = QByteArray::fromHex(v.derivedHex);
    EXPECT_EQ(Pbkdf2HmacSha1(v.password, v.salt, v.iterations, static_cast<int>(expected.size())).toHex(),
              QByteArray(v.derivedHex));
}

} // namespace
