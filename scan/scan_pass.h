#pragma once
// One pass of the folder scan, run on the scan worker: the full scan (loose files by
// format row, then the archives) or the update pass that checks a filled list against
// the disk. Everything it does to the list goes through the window bridge.

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/message_box.h"
#include "catalog/music_file_info.h"
#include "scan/archive_port.h"
#include "scan/folder_listing.h"
#include "scan/scan_view.h"
#include "base/window_bridge.h"
#include "catalog/options.h"

namespace kadrel {

// What a pass does: read the whole folder, or bring a list up to date (after an index
// load, or any list, sub-folders included).
enum class ScanMode { FullScan, UpdateAfterIndexLoad, UpdateWithSubFolders };

// How the document step reaches documents inside the archive being scanned.
struct ArchivedDocuments {
  // Runs an archive-library command line (used only when `read` is empty).
  std::function<void(const std::string& commandLine)> runCommand;
  // The bytes of a document member (its bare DocFile name), or nullopt.
  std::function<std::optional<std::string>(const std::string& docFile)> read;
};

// The document step: reads title and names from record.DocFile (a full path, or a
// bare member name inside the archive in `archiveFolder`). `archiveFolderFd` is that
// folder held open by the pass's listing (documents beside the files lie in it).
using DocumentStep = std::function<void(const std::string& folder, const std::string& archiveFolder,
                                        int archiveFolderFd, TMusicFileInfo& record,
                                        const ArchivedDocuments& archived)>;

struct ScanPassEnvironment {
  IWindowBridge& bridge;
  IScanView& view;
  IMessageBox& messages;
  IArchivePort* archives;          // null: archives are left out
  DocumentStep documentStep;       // empty: no document information
  const std::atomic<bool>& stop;   // set by the window or at program end
};

struct ScanPassRequest {
  std::string folder;      // ends in "/"
  std::string workFolder;  // ends in "/"
  ScanMode mode = ScanMode::FullScan;
  TMainOption options;
  bool insertSorted = false;  // add each file at its sorted place
};

class ScanPass {
 public:
  ScanPass(ScanPassEnvironment env, ScanPassRequest request);
  // The listing a pass works on (nullopt when the folder cannot be listed).
  static std::optional<FolderListing> ReadListing(const std::string& folder);
  // Lists the folder and runs the pass.
  void Run();
  // Runs the pass on a listing the caller took with ReadListing.
  void Run(std::optional<FolderListing> listing);

 private:
  struct PackedInfoFile {
    std::string baseName;  // without extension
    std::string ext;       // with its dot
    int value;             // companion bit, or position in the document-extension list
    std::string memberPath;
  };

  bool Stopped() const { return env_.stop.load(); }
  void OnWindow(const std::function<void()>& call) { env_.bridge.RunOnWindowThread(call); }
  void SetStatus(int panel, const std::string& text);
  void Deliver(std::unique_ptr<TMusicFileInfo> record);

  struct PassFiles {
    std::vector<const DirEntry*> music;
    std::vector<const DirEntry*> archives;
  };
  PassFiles FilesOfPass() const;
  void FullScan();
  void ProcessLooseFile(const DirEntry& entry);
  void MgsLinkStep(TMusicFileInfo& r, const std::function<void(TMusicFileInfo&)>& readLinked);
  void ScanArchive(const DirEntry& archive);
  std::vector<ScanEntryKey> ListedKeys();
  void UpdatePass();
  void UpdateSubFolders();
  void CheckExistingFiles();
  bool MemberPresent(const std::string& archiveName, const std::string& memberName);
  void AddNewFiles();

  std::string DocumentExtensionAt(size_t k) const { return docExtensions_[k]; }
  const DirEntry* FindDocumentBeside(const std::string& stem, size_t belowPosition, size_t* position) const;

  ScanPassEnvironment env_;
  ScanPassRequest req_;
  std::vector<std::string> docExtensions_;   // CP932, priority order
  std::vector<std::string> docExtensionsUtf8_;  // the same in UTF-8 where not ASCII, else empty
  bool skipLoneStems_ = true;  // a file whose stem no other file has needs no look-ups
  std::vector<std::string> linkedNames_;     // LinkFile texts of the MGS scripts met in this pass
  std::optional<FolderListing> listing_;
  std::unordered_map<std::string, std::unordered_set<std::string>> memberNames_;  // per archive, upper case
};

// "*.CODE " for every enabled row, in row order.
std::string MusicPatterns(const FormatFilter& formats);
// Document extensions from "InfoGetType": fields up to the first empty one.
std::vector<std::string> DocumentExtensions(const std::string& infoGetType);

}  // namespace kadrel
