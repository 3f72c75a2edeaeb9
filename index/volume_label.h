#pragma once
// The label of a mounted file system, as udev publishes it under /dev/disk/by-label.
// Nothing is read from the medium itself.

#include <string>

#include "index/volume_info.h"

namespace kadrel {

// The label whose link leads to the volume's device ("major:minor"), with udev's
// "\xNN" escapes undone; empty when there is none. `byLabel` is the folder of links.
std::string VolumeLabel(const VolumeInfo& volume, const std::string& byLabel = "/dev/disk/by-label");

// "MY\x20DISK" -> "MY DISK". A broken escape stays as it is.
std::string UnescapeUdevName(const std::string& name);

}  // namespace kadrel
