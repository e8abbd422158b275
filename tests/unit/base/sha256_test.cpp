// SHA-256 in both builds (Nettle natively, the system's CNG under Windows): the standard's
// test vectors, whole and fed in uneven pieces, and a digest object used twice.
#include "base/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Vector {
  std::string input;
  const char* digest;
};

TEST(Sha256, StandardVectorsWholeAndInPieces) {
  const Vector vectors[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const Vector& v : vectors) {
    EXPECT_EQ(HexOf(Sha256Of(v.input.data(), v.input.size())), v.digest) << v.input.size();
    // Pieces of 1, 2, 3, ... bytes cross every block boundary at some point.
    Sha256 hash;
    size_t at = 0;
    for (size_t piece = 1; at < v.input.size(); ++piece) {
      const size_t n = std::min(piece, v.input.size() - at);
      hash.Update(v.input.data() + at, n);
      at += n;
    }
    EXPECT_EQ(HexOf(hash.Finish()), v.digest) << "in pieces, " << v.input.size();
  }
}

TEST(Sha256, FinishStartsAfresh) {
  Sha256 hash;
  hash.Update("abc", 3);
  const Sha256Digest first = hash.Finish();
  hash.Update("abc", 3);
  EXPECT_EQ(hash.Finish(), first);
  EXPECT_EQ(HexOf(hash.Finish()),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

}  // namespace
