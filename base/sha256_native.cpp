#include <nettle/sha2.h>

#include "base/sha256.h"

struct Sha256::State {
  sha256_ctx ctx;
};

Sha256::Sha256() : state_(new State) { sha256_init(&state_->ctx); }
Sha256::~Sha256() = default;

void Sha256::Update(const void* data, size_t size) {
  sha256_update(&state_->ctx, size, static_cast<const uint8_t*>(data));
}

Sha256Digest Sha256::Finish() {
  Sha256Digest out;
  sha256_digest(&state_->ctx, out.size(), out.data());  // also starts the context afresh
  return out;
}
