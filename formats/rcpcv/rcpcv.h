#pragma once
// The converter's C calls, as the play preparation uses them: convert a file, take the
// Standard MIDI bytes, delete the object. Backed by ConvertRecomposerFile.

#include <cstdint>

extern "C" {

// Progress as passed to the callback; step runs from 0 to 99.
struct RcpcvProgress {
  int32_t size;      // sizeof(RcpcvProgress)
  int32_t reserved;
  int32_t step;
};

typedef void (*RcpcvProgressCallback)(const RcpcvProgress* progress);

struct RcpcvObject;

// Converts the file at path (UTF-8 or the file system's bytes). mode is accepted for the
// callers' sake and does not change the result; the two reserved arguments are unused.
// Returns nullptr when the file cannot be converted.
RcpcvObject* rcpcvConvertFile(const char* path, int32_t mode, RcpcvProgressCallback progress, void* reserved1,
                              void* reserved2);
// Byte count of the Standard MIDI data (0 for nullptr).
uint32_t rcpcvGetSMFLength(const RcpcvObject* object);
// The Standard MIDI bytes, valid until rcpcvDeleteObject (nullptr for nullptr).
const uint8_t* rcpcvGetSMF(const RcpcvObject* object);
void rcpcvDeleteObject(RcpcvObject* object);
int32_t rcpcvGetVersionMajor(void);
int32_t rcpcvGetVersionMinor(void);

}  // extern "C"
