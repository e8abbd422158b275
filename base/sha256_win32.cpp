#include <windows.h>
#include <bcrypt.h>

#include <climits>

#include "base/sha256.h"

// One algorithm handle for the process, opened on first use; a hash object per digest.
struct Sha256::State {
  BCRYPT_HASH_HANDLE hash = nullptr;
};

namespace {

BCRYPT_ALG_HANDLE Algorithm() {
  static BCRYPT_ALG_HANDLE alg = [] {
    BCRYPT_ALG_HANDLE h = nullptr;
    if (BCryptOpenAlgorithmProvider(&h, BCRYPT_SHA256_ALGORITHM, nullptr, 0) < 0) h = nullptr;
    return h;
  }();
  return alg;
}

BCRYPT_HASH_HANDLE NewHash() {
  BCRYPT_HASH_HANDLE h = nullptr;
  // Since Windows 7 the system keeps the hash object itself when given no buffer.
  if (!Algorithm() || BCryptCreateHash(Algorithm(), &h, nullptr, 0, nullptr, 0, 0) < 0)
    return nullptr;
  return h;
}

}  // namespace

Sha256::Sha256() : state_(new State) { state_->hash = NewHash(); }

Sha256::~Sha256() {
  if (state_->hash) BCryptDestroyHash(state_->hash);
}

void Sha256::Update(const void* data, size_t size) {
  const UCHAR* p = static_cast<const UCHAR*>(data);
  while (size && state_->hash) {
    const ULONG piece = size > ULONG_MAX / 2 ? ULONG_MAX / 2 : ULONG(size);
    BCryptHashData(state_->hash, const_cast<UCHAR*>(p), piece, 0);
    p += piece;
    size -= piece;
  }
}

Sha256Digest Sha256::Finish() {
  // Without a hash object (the system refused one) the digest is all zero: it then matches
  // no file's, and a recovery file is refused rather than trusted.
  Sha256Digest out{};
  if (state_->hash) {
    BCryptFinishHash(state_->hash, out.data(), ULONG(out.size()), 0);
    BCryptDestroyHash(state_->hash);
  }
  state_->hash = NewHash();
  return out;
}
