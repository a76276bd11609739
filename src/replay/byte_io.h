// Little-endian writing and bounds-checked reading of byte strings, for the replay file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelto1 {

class ByteWriter {
 public:
  void U8(uint32_t v) { out_.push_back(static_cast<uint8_t>(v)); }
  void U16(uint32_t v) { Le(v, 2); }
  void U32(uint32_t v) { Le(v, 4); }
  void U64(uint64_t v) { Le(v, 8); }
  // Unsigned LEB128: seven bits a byte, low bits first.
  void Var(uint64_t v) {
    while (v >= 0x80) {
      out_.push_back(static_cast<uint8_t>(v | 0x80));
      v >>= 7;
    }
    out_.push_back(static_cast<uint8_t>(v));
  }
  void Bytes(const void* data, size_t n) {
    const auto* p = static_cast<const uint8_t*>(data);
    out_.insert(out_.end(), p, p + n);
  }
  void Text(const std::string& s) {
    Var(s.size());
    Bytes(s.data(), s.size());
  }
  std::vector<uint8_t>& bytes() { return out_; }

 private:
  void Le(uint64_t v, int n) {
    for (int i = 0; i < n; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  std::vector<uint8_t> out_;
};

// Every read checks the bytes left; after the first failure all reads give 0 and ok()
// stays false, so a parser checks once at the end of a step.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : p_(data), left_(size) {}
  bool ok() const { return ok_; }
  size_t left() const { return left_; }
  size_t used(const uint8_t* start) const { return static_cast<size_t>(p_ - start); }
  uint32_t U8() { return static_cast<uint32_t>(Le(1)); }
  uint32_t U16() { return static_cast<uint32_t>(Le(2)); }
  uint32_t U32() { return static_cast<uint32_t>(Le(4)); }
  uint64_t U64() { return Le(8); }
  uint64_t Var() {
    uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      if (!Need(1)) return 0;
      const uint8_t b = *p_++;
      --left_;
      v |= static_cast<uint64_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return v;
    }
    ok_ = false;  // longer than any 64-bit number
    return 0;
  }
  // n bytes, or nothing when fewer are left.
  const uint8_t* Take(size_t n) {
    if (!Need(n)) return nullptr;
    const uint8_t* at = p_;
    p_ += n;
    left_ -= n;
    return at;
  }
  // A text of at most max_length bytes.
  bool Text(std::string& s, size_t max_length) {
    const uint64_t n = Var();
    if (!ok_ || n > max_length || n > left_) return ok_ = false;
    s.assign(reinterpret_cast<const char*>(Take(n)), n);
    return true;
  }

 private:
  bool Need(size_t n) {
    if (!ok_ || n > left_) return ok_ = false;
    return true;
  }
  uint64_t Le(int n) {
    if (!Need(static_cast<size_t>(n))) return 0;
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= static_cast<uint64_t>(p_[i]) << (8 * i);
    p_ += n;
    left_ -= n;
    return v;
  }
  const uint8_t* p_;
  size_t left_;
  bool ok_ = true;
};

}  // namespace kelto1
