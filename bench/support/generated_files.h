#pragma once
// Generated music files and a byte-counting source, shared by the benchmarks.

#include <cstdint>
#include <string>

#include "base/byte_source.h"

namespace kadrel::bench {

// A music file of one of six formats (MID, RCP, MP3, WAV, MOD, VQF by i % 6); without a
// title when `titled` is false. `name` receives a file name for it.
std::string MusicFile(int i, bool titled, std::string& name);

// Counts the bytes a reader takes from its source.
class CountingSource final : public ByteSource {
 public:
  explicit CountingSource(const ByteSource& inner) : inner_(inner) {}
  uint64_t Size() const override { return inner_.Size(); }
  size_t ReadAt(uint64_t offset, char* out, size_t n) const override {
    const size_t got = inner_.ReadAt(offset, out, n);
    bytes += got;
    return got;
  }
  mutable size_t bytes = 0;
 private:
  const ByteSource& inner_;
};

}  // namespace kadrel::bench
