// Walking a MIDI file's chunks and events without playing them.
#include "platform/midi_image.h"

#include <cstring>

namespace kelto1 {

namespace {

uint32_t Be32(const uint8_t* p) { return (uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }
uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

bool Refuse(std::string* why, const std::string& reason) {
  if (why) *why = reason;
  return false;
}

// One track's events, from its first delta time to its end-of-track event.
class TrackReader {
 public:
  TrackReader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}

  // True when the events are whole and the last one ends the track.
  bool Read() {
    uint8_t running = 0;  // the status byte that data bytes without their own repeat
    while (p_ < end_) {
      uint32_t delta = 0;
      if (!Number(delta)) return false;
      if (p_ >= end_) return false;
      uint8_t status = *p_;
      if (status & 0x80) {
        ++p_;
      } else {
        if (running == 0) return false;  // data with no status before it
        status = running;
      }
      if (status == 0xFF) {  // meta event: type, length, bytes
        running = 0;
        if (p_ >= end_) return false;
        const uint8_t type = *p_++;
        uint32_t length = 0;
        if (!Number(length) || length > static_cast<size_t>(end_ - p_)) return false;
        p_ += length;
        if (type == 0x2F) return true;  // end of track
      } else if (status == 0xF0 || status == 0xF7) {  // system exclusive: length, bytes
        running = 0;
        uint32_t length = 0;
        if (!Number(length) || length > static_cast<size_t>(end_ - p_)) return false;
        p_ += length;
      } else if (status >= 0xF1) {
        return false;  // real-time and common messages have no place in a file
      } else {
        running = status;
        const int data_bytes = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        for (int i = 0; i < data_bytes; ++i) {
          if (p_ >= end_ || (*p_ & 0x80)) return false;
          ++p_;
        }
      }
    }
    return false;  // the chunk ran out before the end-of-track event
  }

 private:
  // A variable-length number: at most four bytes, seven bits each.
  bool Number(uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      if (p_ >= end_) return false;
      const uint8_t b = *p_++;
      value = (value << 7) | (b & 0x7F);
      if (!(b & 0x80)) return true;
    }
    return false;
  }

  const uint8_t* p_;
  const uint8_t* end_;
};

}  // namespace

bool PlausibleMidi(const std::vector<uint8_t>& file, std::string* why) {
  const size_t size = file.size();
  if (size < 14 || std::memcmp(file.data(), "MThd", 4) != 0) return Refuse(why, "no MIDI header");
  const uint32_t header_length = Be32(file.data() + 4);
  if (header_length < 6 || header_length > size - 8) return Refuse(why, "a damaged MIDI header");
  const uint16_t format = Be16(file.data() + 8), tracks = Be16(file.data() + 10), division = Be16(file.data() + 12);
  if (format > 2 || tracks == 0 || (format == 0 && tracks != 1) || division == 0)
    return Refuse(why, "a damaged MIDI header");
  size_t at = 8 + header_length;
  int found = 0;
  while (found < tracks) {
    if (at + 8 > size) return Refuse(why, "track " + std::to_string(found + 1) + " is missing");
    const uint8_t* chunk = file.data() + at;
    const uint32_t length = Be32(chunk + 4);
    if (length > size - at - 8) return Refuse(why, "track " + std::to_string(found + 1) + " ends early");
    // Chunks of other kinds are skipped, as the format asks of readers.
    if (std::memcmp(chunk, "MTrk", 4) == 0) {
      ++found;
      if (!TrackReader(chunk + 8, length).Read())
        return Refuse(why, "track " + std::to_string(found) + " is damaged");
    } else {
      for (int i = 0; i < 4; ++i)
        if (chunk[i] < 0x20 || chunk[i] > 0x7E) return Refuse(why, "a damaged chunk after the header");
    }
    at += 8 + length;
  }
  return true;
}

}  // namespace kelto1
