#pragma once
// Control files that set up the sound module before a song: CM6 (MT-32 / CM-64 memory
// image) and GSD (GS sound module settings). Each is turned into the Roland "data set"
// exclusives that load its contents, with the pause each message needs after it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

enum class ControlFileKind { kCm6, kGsd };

struct SetupMessage {
  std::string bytes;         // F0 ... F7
  uint32_t pauseMicros = 0;  // quiet time the module needs after this message
};

// A Roland DT1 message: F0 41 device model 12, the 3-byte address, the data (each byte
// cut to 7 bits), the checksum, F7. address is three 7-bit bytes packed as H<<16|M<<8|L.
std::string RolandDataSet(uint8_t model, uint32_t address, std::string_view data);

// Adds offset bytes to a Roland address whose bytes count in sevens bits (7F + 1 carries).
uint32_t RolandAddressPlus(uint32_t address, uint32_t offset);

// Reads a control file of the given kind. Returns false with a short reason in problem
// when the bytes are not such a file or are too short to hold its settings.
bool ControlFileMessages(ControlFileKind kind, std::string_view file, std::vector<SetupMessage>& out,
                         std::string& problem);

}  // namespace kadrel
