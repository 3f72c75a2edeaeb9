#pragma once
// The folder scan's index access on top of the index store.

#include "scan/index_port.h"
#include "index/folder_index.h"

namespace kadrel {

class FolderIndexPort final : public IFolderIndexPort {
 public:
  explicit FolderIndexPort(TFolderIndex& index) : index_(index) {}
  bool ReadFolder(const std::string& folder, const IndexListPlace& place, const std::atomic<bool>& stop,
                  std::vector<std::unique_ptr<TMusicFileInfo>>& out) override;
  void SaveFolder(const std::string& folder, const std::vector<TMusicFileInfo>& entries) override;
  void ReplaceFolder(const std::string& folder, const std::vector<TMusicFileInfo>& entries) override;
  bool ForgetFolder(const std::string& folder) override;
  TFolderIndex& Index() { return index_; }

 private:
  TFolderIndex& index_;
};

}  // namespace kadrel
