#pragma once
// What the folder scan needs of the index store. All calls run on the window's thread.

#include <atomic>
#include <string>

#include "scan/scan_view.h"

namespace kadrel {

class IFolderIndexPort {
 public:
  virtual ~IFolderIndexPort() = default;
  // Adds the folder's indexed entries to the view; true when it held at least one.
  virtual bool LoadFolder(const std::string& folder, IScanView& view, const std::atomic<bool>& stop) = 0;
  // Appends the folder's block when it is missing (folders-only lists are not stored).
  virtual void SaveFolder(const std::string& folder, const IScanView& view) = 0;
  // Replaces the folder's block after the list changed.
  virtual void ReplaceFolder(const std::string& folder, const IScanView& view) = 0;
  // Re-read all: drops the folder's block so that the folder is listed from its files.
  // False when the block could not be dropped (the user was told).
  virtual bool ForgetFolder(const std::string& folder) = 0;
};

}  // namespace kadrel
