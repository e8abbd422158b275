// SHA-256 of bytes: the checksum the recovery file uses to know the scenario file it was made
// from, and to know that its own body was written whole. The native build takes Nettle's
// implementation, the Windows build the system's own (CNG, bcrypt.dll, part of every Windows
// since Vista): no code of our own computes it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

using Sha256Digest = std::array<uint8_t, 32>;

// A digest computed piece by piece.
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void Update(const void* data, size_t size);
  // The digest of everything given so far; the object starts afresh after it.
  Sha256Digest Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

Sha256Digest Sha256Of(const void* data, size_t size);

// Lower-case hexadecimal, 64 characters.
std::string HexOf(const Sha256Digest& digest);
