#include "scan/scan_pass.h"

#include <algorithm>
#include <unordered_set>


#include "archive/unlha_turn.h"
#include "base/byte_source.h"
#include "base/dos_datetime.h"
#include "base/encoding.h"
#include "catalog/format_table.h"
#include "formats/read_header_info.h"
#include "base/text_helpers.h"

namespace kadrel {
namespace {

constexpr const char* kCompanionExtensions[] = {"WRD", "DV", "SRY"};
constexpr const char* kCompanionPatterns = "*.WRD *.DV *.SRY ";

int32_t ClampSize(int64_t size) { return size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(size); }

void MarkCannotOpen(TMusicFileInfo& r) {
  r.ClearInfoTexts();
  r.Detail.clear();
  r.MacBinary = 0;
  r.InfoState = kInfoCannotOpen;
}


// A member read only in part: the readers see its declared size, and the bytes past
// what was decoded read as missing.
class PartialMemberSource final : public ByteSource {
 public:
  PartialMemberSource(std::string_view data, uint64_t declaredSize) : data_(data), size_(declaredSize) {}
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, char* out, size_t n) const override { return data_.ReadAt(offset, out, n); }

 private:
  MemoryByteSource data_;
  uint64_t size_;
};


// folder + name in a string of its own size: `+` leaves the room of a doubling, and a
// record keeps its document's path for as long as it is listed.
std::string PathInFolder(const std::string& folder, const std::string& name) {
  std::string path;
  path.reserve(folder.size() + name.size());
  path.append(folder).append(name);
  return path;
}

std::optional<uint64_t> ListedSize(const DirEntry& e) {
  if (!e.listedRegular || e.size < 0) return std::nullopt;
  return static_cast<uint64_t>(e.size);
}

}  // namespace

std::string MusicPatterns(const FormatFilter& formats) {
  std::string patterns;
  for (int row = 0; row < kFormatCount; ++row)
    if (formats.Enabled(row)) patterns += "*." + std::string(kFormatTable[row].Code) + " ";
  return patterns;
}

std::vector<std::string> DocumentExtensions(const std::string& infoGetType) { return CsvFields(infoGetType); }

ScanPass::ScanPass(ScanPassEnvironment env, ScanPassRequest request)
    : env_(std::move(env)), req_(std::move(request)), docExtensions_(DocumentExtensions(req_.options.InfoGetType)) {
  for (const std::string& ext : docExtensions_) docExtensionsUtf8_.push_back(IsAscii(ext) ? "" : DisplayText(ext));
  // A companion or document is a file stem + "." + extension; when no other file has
  // the stem there is none, unless an extension could name the music file itself or
  // hold a dot of its own (then the stem is not what comes before the last dot).
  auto mayNameAnotherStem = [](std::string_view ext) {
    return ext.find('.') != std::string_view::npos || FormatRowForCode(ext) >= 0;
  };
  for (const char* ext : kCompanionExtensions) skipLoneStems_ = skipLoneStems_ && !mayNameAnotherStem(ext);
  for (size_t k = 0; k < docExtensions_.size(); ++k)
    skipLoneStems_ = skipLoneStems_ && !mayNameAnotherStem(docExtensions_[k]) && !mayNameAnotherStem(docExtensionsUtf8_[k]);
}

void ScanPass::SetStatus(int panel, const std::string& text) {
  OnWindow([&] { env_.view.SetStatusText(panel, text); });
}

void ScanPass::Deliver(std::unique_ptr<TMusicFileInfo> record) {
  OnWindow([&] {
    if (req_.insertSorted) env_.view.InsertRecordSorted(std::move(record));
    else env_.view.AddRecord(std::move(record));
  });
}

std::optional<FolderListing> ScanPass::ReadListing(const std::string& folder) {
  // Neither pass looks a music file up by name: a full pass takes size and time from
  // the file it opens, an update pass opens only the new ones.
  return FolderListing::Read(folder, false, /*musicFileTimes=*/false);
}

void ScanPass::Run() { Run(ReadListing(req_.folder)); }

void ScanPass::Run(std::optional<FolderListing> listing) {
  listing_ = std::move(listing);
  if (!listing_) return;  // the folder vanished: the end handler still runs
  linkedNames_.clear();
  if (req_.mode == ScanMode::FullScan) FullScan();
  else UpdatePass();
}

// A normal file stem + "." + extension in the scanned folder. Extensions from the
// settings are CP932; a file name on disk may carry the same text in UTF-8.
const DirEntry* ScanPass::FindDocumentBeside(const std::string& stem, size_t belowPosition, size_t* position) const {
  const FolderListing::Stem lookup = FolderListing::StemOf(stem);
  for (size_t k = 0; k < docExtensions_.size() && k < belowPosition; ++k) {
    const DirEntry* e = listing_->FindFile(lookup, docExtensions_[k]);
    if (!e && !docExtensionsUtf8_[k].empty()) e = listing_->FindFile(lookup, docExtensionsUtf8_[k]);
    if (e) {
      if (position) *position = k;
      return e;
    }
  }
  return nullptr;
}

// The music files of the enabled formats, format by format in the table's order and
// each format's in name order, and the archives when they are scanned.
ScanPass::PassFiles ScanPass::FilesOfPass() const {
  std::vector<std::string_view> extensions;
  for (int row = 0; row < kFormatCount; ++row)
    if (req_.options.Formats.Enabled(row)) extensions.push_back(kFormatTable[row].Code);
  const bool withArchives = env_.archives && req_.options.LzhStyle != 0;
  if (withArchives) extensions.push_back("LZH");
  std::vector<std::vector<const DirEntry*>> groups = listing_->FilesByExtension(extensions);
  PassFiles files;
  if (withArchives) {
    files.archives = std::move(groups.back());
    groups.pop_back();
  }
  for (const auto& group : groups) files.music.insert(files.music.end(), group.begin(), group.end());
  return files;
}

void ScanPass::FullScan() {
  OnWindow([&] {
    env_.view.SetProgressPosition(0);
    env_.view.SetStatusText(1, "圧縮されていないファイル..");
  });
  PassFiles files = FilesOfPass();
  for (const DirEntry* e : files.music) {
    ProcessLooseFile(*e);
    if (Stopped()) return;
  }

  const std::vector<const DirEntry*>& archives = files.archives;
  if (archives.empty()) return;
  const int count = static_cast<int>(archives.size());
  OnWindow([&] {
    env_.view.SetProgressRange(count);
    env_.view.SetProgressPosition(0);
    env_.view.SetStatusText(1, "圧縮されているファイル..");
  });
  int done = 0;
  for (const DirEntry* a : archives) {
    ScanArchive(*a);
    ++done;
    OnWindow([&] {
      if (env_.view.ProgressMaximum() == count) {
        env_.view.SetProgressPosition(done);
        env_.view.SetStatusText(0, "ファイルの検索中です..");
        env_.view.SetStatusText(1, "圧縮されているファイル..");
      }
    });
    // No yield here: the window has its own thread and the bridged calls above already
    // wait for it; on a busy machine each yield gave the processor away for a whole
    // time slice.
    if (Stopped()) return;
  }
}

void ScanPass::ProcessLooseFile(const DirEntry& entry) {
  if (Stopped()) return;
  const int row = FormatRowForFileName(entry.name);
  auto r = std::make_unique<TMusicFileInfo>();
  r->FileType = row;
  r->ItemKind = kLooseFile;
  r->FileName = NameWithoutExtension(entry.name);
  r->FileExt = ExtensionWithDot(entry.name);
  const HeaderReadOptions headerOptions{req_.options.SMFByte};
  auto setSizeAndTime = [&](int64_t size, std::time_t mtime) {
    r->Size = ClampSize(size);
    const DosStamp stamp = DosStampFromUnixTime(mtime);
    r->DosDate = stamp.date;
    r->DosTime = stamp.time;
  };
  if (entry.examined) {
    setSizeAndTime(entry.size, entry.mtime);
    ReadHeaderInfoAt(listing_->Fd(), entry.name, ListedSize(entry), *r, headerOptions);
  } else if (auto source = FileByteSource::OpenAt(listing_->Fd(), entry.name)) {
    setSizeAndTime(static_cast<int64_t>(source->Size()), static_cast<std::time_t>(source->ModifiedTime()));
    ReadHeaderInfoFrom(*source, *r, headerOptions);
  } else {
    // Not readable: the row shows what a look-up by name finds, as when the listing
    // examined it; a file gone since the listing is left out, as the listing would.
    DirEntry examined = entry;
    if (!listing_->Examine(examined) || !examined.isNormalFile) return;
    setSizeAndTime(examined.size, examined.mtime);
    ReadHeaderInfoAt(listing_->Fd(), entry.name, std::nullopt, *r, headerOptions);
  }

  bool dropped = false;
  if (row != kRowMGS) {
    if (entry.stemShared || !skipLoneStems_) {
      const FolderListing::Stem stem = FolderListing::StemOf(r->FileName);
      for (int k = 0; k < 3; ++k)
        if (listing_->FindFile(stem, kCompanionExtensions[k])) r->Info |= 1 << k;
      if (const DirEntry* doc = FindDocumentBeside(r->FileName, docExtensions_.size(), nullptr))
        r->DocFile = PathInFolder(req_.folder, doc->name);
    }
    if ((req_.options.TitleGetstyle == 2 || req_.options.TitleGetstyle == 3) && env_.documentStep)
      env_.documentStep("", req_.folder, listing_->Fd(), *r, {});
    if (req_.options.Formats.Enabled(kRowMGS) && req_.options.MgsMusicInVisible) {
      for (const std::string& linked : linkedNames_)
        if (EqualsIgnoreCase(linked, entry.name)) dropped = true;
    }
  } else if (r->LinkFile.empty()) {
    dropped = true;  // a script without "@MIDIPLAY" is not listed
  } else {
    linkedNames_.push_back(r->LinkFile);
    // The linked file of a loose script lies in the scanned folder.
    MgsLinkStep(*r, [&](TMusicFileInfo& linked) {
      const DirEntry* onDisk = listing_->FindFile(linked.FileName + linked.FileExt);
      std::string saved = linked.FileExt;
      if (onDisk) {
        linked.FileExt = ExtensionWithDot(onDisk->name);
        std::string stemOnDisk = NameWithoutExtension(onDisk->name);
        std::string stem = linked.FileName;
        linked.FileName = stemOnDisk;
        ReadHeaderInfoAt(listing_->Fd(), onDisk->name, ListedSize(*onDisk), linked, {req_.options.SMFByte});
        linked.FileName = stem;
      } else {
        MarkCannotOpen(linked);
      }
      linked.FileExt = saved;
    });
  }
  if (dropped) return;
  r->IconIndex = IconIndexFor(r->FileType, r->Info);
  Deliver(std::move(r));
}

// A script whose header gave no title shows the detail, title and state of the music
// file with the script's name and the linked file's extension.
void ScanPass::MgsLinkStep(TMusicFileInfo& r, const std::function<void(TMusicFileInfo&)>& readLinked) {
  if (!r.Title.empty()) return;
  const int row = FormatRowForCode(ExtensionWithoutDot(r.LinkFile));
  if (row < 0) return;
  const std::string scriptExt = r.FileExt;
  r.FileExt = "." + std::string(kFormatTable[row].Code);
  r.FileType = row;
  readLinked(r);
  r.FileExt = scriptExt;  // the script keeps its own extension as found on disk
  r.FileType = kRowMGS;
}

void ScanPass::ScanArchive(const DirEntry& archive) {
  if (Stopped() || !env_.archives->Available()) return;
  const TMainOption& o = req_.options;
  const bool withDocuments = o.TitleGetstyle == 2 || o.TitleGetstyle == 3;
  std::string patterns = MusicPatterns(o.Formats) + kCompanionPatterns;
  if (withDocuments)
    for (const std::string& ext : docExtensions_) patterns += "*." + ext + " ";

  IArchivePort& port = *env_.archives;
  if (!port.AcquireTurn(kSlotFolderScan, [&] { return Stopped(); })) return;
  struct TurnGuard {
    IArchivePort& port;
    ~TurnGuard() { port.ReleaseTurn(kSlotFolderScan); }
  } guard{port};

  const std::string archivePath = req_.folder + archive.name;
  struct Item {
    std::unique_ptr<TMusicFileInfo> record;
    std::string memberPath;
  };
  std::vector<Item> music;
  std::vector<PackedInfoFile> companions, documents;

  for (const ArchiveMemberEntry& m : port.ListMembers(archivePath, patterns)) {
    if (Stopped()) return;
    const std::string base = MemberBaseName(m.path);
    const std::string ext = ExtensionWithoutDot(base);
    const std::string stem = NameWithoutExtension(base);
    if (base.find('.') == std::string::npos) continue;
    bool classified = false;
    for (int k = 0; k < 3 && !classified; ++k) {
      if (EqualsIgnoreCase(ext, kCompanionExtensions[k])) {
        companions.push_back({stem, "." + ext, 1 << k, m.path});
        classified = true;
      }
    }
    if (classified) continue;
    if (int row = FormatRowForMemberExtension(ext); row >= 0) {
      auto r = std::make_unique<TMusicFileInfo>();
      r->ItemKind = kArchiveMember;
      r->FileName = stem;
      r->FileExt = "." + ext;
      r->FileType = row;
      r->Archiver = archive.name;
      r->Size = ClampSize(m.size);
      r->DosDate = m.dosDate;
      r->DosTime = m.dosTime;
      if (o.LzhStyle == 1) r->InfoState = kInfoNotSearched;
      else if (o.LzhStyle == 2 && static_cast<int64_t>(m.size) >= static_cast<int64_t>(o.LZHByte) * 1024)
        r->InfoState = kInfoTooLarge;
      music.push_back({std::move(r), m.path});
      continue;
    }
    for (size_t k = 0; k < docExtensions_.size(); ++k) {
      if (EqualsIgnoreCase(ext, docExtensions_[k])) {
        documents.push_back({stem, "." + ext, static_cast<int>(k), m.path});
        break;
      }
    }
  }
  if (Stopped() || music.empty()) return;

  // Companions and documents belong to the music files with the same base name.
  // A document beside the archive is looked up once: for each member the first one
  // found counts only when it comes before the member's own document.
  size_t besidePosition = 0;
  const DirEntry* besideArchive =
      o.TitleGetstyle > 1
          ? FindDocumentBeside(NameWithoutExtension(archive.name), docExtensions_.size(), &besidePosition)
          : nullptr;
  for (size_t i = 0; i < music.size(); ++i) {
    TMusicFileInfo& r = *music[i].record;
    for (const PackedInfoFile& c : companions)
      if (EqualsIgnoreCase(c.baseName, r.FileName)) r.Info |= c.value;
    const PackedInfoFile* best = nullptr;
    for (const PackedInfoFile& d : documents) {
      if (!EqualsIgnoreCase(d.baseName, r.FileName)) continue;
      if (!best || d.value < best->value) best = &d;
      if (d.value == 0) break;
    }
    if (best) r.DocFile = best->baseName + best->ext;
    if (besideArchive && !(best && best->value == 0)) {
      const size_t below = best ? static_cast<size_t>(best->value) : docExtensions_.size();
      if (besidePosition < below) r.DocFile = PathInFolder(req_.folder, besideArchive->name);
    }
    if (r.DocFile.empty() && !documents.empty()) r.DocFile = documents[0].baseName + documents[0].ext;
    r.IconIndex = IconIndexFor(r.FileType, r.Info);
    if (r.FileType == kRowMGS) std::rotate(music.begin(), music.begin() + static_cast<long>(i), music.begin() + static_cast<long>(i) + 1);
  }

  if (o.LzhStyle < 2) {
    for (Item& item : music) Deliver(std::move(item.record));
    return;
  }

  const std::string extractTo = req_.workFolder;
  // Documents are read from the archive into memory, like the music members: nothing is
  // written to the work folder. With equal names the last member is the one, as an
  // extraction would leave it on disk.
  ArchivedDocuments archived;
  archived.read = [&](const std::string& docFile) -> std::optional<std::string> {
    std::string memberPath;
    for (const PackedInfoFile& d : documents)
      if (EqualsIgnoreCase(d.baseName + d.ext, docFile)) memberPath = d.memberPath;
    if (memberPath.empty()) return std::nullopt;
    return port.ReadMember(archivePath, memberPath);
  };

  auto readFromArchive = [&](TMusicFileInfo& r, const std::string& memberPath) {
    if (auto data = port.ReadMember(archivePath, memberPath)) {
      const uint64_t declared = std::max<uint64_t>(static_cast<uint32_t>(r.Size), data->size());
      PartialMemberSource source(*data, declared);
      ReadHeaderInfoFrom(source, r, {o.SMFByte});
    } else {
      MarkCannotOpen(r);
    }
  };

  for (size_t i = 0; i < music.size();) {
    TMusicFileInfo& r = *music[i].record;
    if (o.TitleGetstyle >= 1 && o.TitleGetstyle <= 3) {
      if (r.InfoState != kInfoTooLarge) readFromArchive(r, music[i].memberPath);
      if (withDocuments && env_.documentStep) env_.documentStep(extractTo, req_.folder, listing_->Fd(), r, archived);
    }
    if (r.FileType == kRowMGS) {
      if (r.LinkFile.empty()) {
        r.FileName.clear();
      } else {
        if (o.MgsMusicInVisible) {
          // Records before this one were handed to the list already (null here).
          for (size_t k = 0; k < music.size(); ++k) {
            if (k == i || !music[k].record) continue;
            if (EqualsIgnoreCase(music[k].record->FullName(), r.LinkFile)) {
              music.erase(music.begin() + static_cast<long>(k));
              if (k < i) --i;
              break;
            }
          }
        }
        TMusicFileInfo& script = *music[i].record;
        MgsLinkStep(script, [&](TMusicFileInfo& linked) {
          const std::string wanted = linked.FileName + linked.FileExt;
          std::string memberPath;
          for (const ArchiveMemberEntry& m : port.ListMembers(archivePath, wanted))
            if (EqualsIgnoreCase(MemberBaseName(m.path), wanted)) memberPath = m.path;
          if (memberPath.empty()) MarkCannotOpen(linked);
          else readFromArchive(linked, memberPath);
        });
      }
    }
    TMusicFileInfo& current = *music[i].record;
    if (!current.FileName.empty()) {
      Deliver(std::move(music[i].record));
      ++i;
    } else {
      music.erase(music.begin() + static_cast<long>(i));
    }
  }

}

// The list's entry keys. The vector is sized here on the worker, so that the window's
// thread only copies names into it: on a list of many thousand rows, first touching
// the memory costs it more than the copying does.
std::vector<ScanEntryKey> ScanPass::ListedKeys() {
  int count = 0;
  OnWindow([&] { count = env_.view.Count(); });
  std::vector<ScanEntryKey> keys(static_cast<size_t>(std::max(count, 0)));
  OnWindow([&] { env_.view.CopyEntryKeys(keys); });
  return keys;
}

void ScanPass::UpdatePass() {
  if (req_.mode == ScanMode::UpdateWithSubFolders) UpdateSubFolders();
  if (Stopped()) return;
  CheckExistingFiles();
  if (Stopped()) return;
  AddNewFiles();
}

void ScanPass::UpdateSubFolders() {
  const std::vector<ScanEntryKey> entries = ListedKeys();
  std::vector<std::string> remembered;
  for (int i = static_cast<int>(entries.size()) - 1; i >= 0 && !Stopped(); --i) {
    const ScanEntryKey& e = entries[static_cast<size_t>(i)];
    if (e.ItemKind != kFolderEntry) continue;
    const DirEntry* onDisk = nullptr;
    for (const DirEntry& d : listing_->Entries())
      if (d.isDirectory && d.name == e.FileName) onDisk = &d;
    if (onDisk) {
      remembered.push_back(e.FileName);
      continue;
    }
    bool walkEnds = false;
    OnWindow([&] {
      if (i < env_.view.Count() && env_.view.CopyEntry(i).FileName == e.FileName) env_.view.RemoveEntry(i);
      else walkEnds = true;
    });
    if (walkEnds) break;
  }
  for (const DirEntry& d : listing_->Entries()) {
    if (!d.isDirectory || Stopped()) continue;
    auto it = std::find_if(remembered.begin(), remembered.end(),
                           [&](const std::string& n) { return EqualsIgnoreCase(n, d.name); });
    if (it != remembered.end()) {
      remembered.erase(it);
      continue;
    }
    auto folder = std::make_unique<TMusicFileInfo>();
    folder->ItemKind = kFolderEntry;
    folder->FileType = -1;
    folder->FileName = d.name;
    folder->IconIndex = kFolderImage;
    const DosStamp stamp = DosStampFromUnixTime(d.mtime);
    folder->DosDate = stamp.date;
    folder->DosTime = stamp.time;
    OnWindow([&] { env_.view.InsertRecordSorted(std::move(folder)); });
  }
}

// The presence check of an archive member. Each archive is listed once per pass (under
// the presence check's turn) instead of once per member.
bool ScanPass::MemberPresent(const std::string& archiveName, const std::string& memberName) {
  if (!env_.archives) return false;
  auto it = memberNames_.find(archiveName);
  if (it == memberNames_.end()) {
    std::unordered_set<std::string> names;
    IArchivePort& port = *env_.archives;
    if (port.AcquireTurn(kSlotPresence, [] { return false; })) {
      for (const ArchiveMemberEntry& m : port.ListMembers(req_.folder + archiveName, ""))
        names.insert(ToUpperAscii(MemberBaseName(m.path)));
      port.ReleaseTurn(kSlotPresence);
    }
    it = memberNames_.emplace(archiveName, std::move(names)).first;
  }
  return it->second.count(ToUpperAscii(memberName)) != 0;
}

void ScanPass::CheckExistingFiles() {
  SetStatus(0, "ファイル情報を更新中です..");
  const std::vector<ScanEntryKey> entries = ListedKeys();
  int top = 0, perPage = 0;
  OnWindow([&] { env_.view.VisibleRange(top, perPage); });
  bool removed = false, removedVisible = false;
  for (int i = static_cast<int>(entries.size()) - 1; i >= 0; --i) {
    if (Stopped()) break;
    const ScanEntryKey& e = entries[static_cast<size_t>(i)];
    bool keep = true;
    if (e.ItemKind == kLooseFile) {
      keep = listing_->FindFile(e.FileName + e.FileExt) != nullptr;
    } else if (e.ItemKind == kArchiveMember) {
      const DirEntry* archive = listing_->FindFile(e.Archiver);
      keep = false;
      if (archive) {
        const DosStamp stamp = DosStampFromUnixTime(archive->mtime);
        keep = (stamp.date == e.DosDate && stamp.time == e.DosTime) || MemberPresent(archive->name, e.FileName + e.FileExt);
      }
    }
    if (keep) continue;
    bool walkEnds = false;
    OnWindow([&] {
      if (i < env_.view.Count()) {
        const TMusicFileInfo now = env_.view.CopyEntry(i);
        if (now.FileName == e.FileName && now.FileExt == e.FileExt && now.Archiver == e.Archiver) {
          env_.view.RemoveEntry(i);
          return;
        }
      }
      walkEnds = true;
    });
    if (walkEnds) break;
    removed = true;
    if (i >= top && i <= top + perPage - 1) removedVisible = true;
  }
  if (removed) OnWindow([&] { env_.view.ResetItemCount(removedVisible); });
}

void ScanPass::AddNewFiles() {
  // Names folded to upper case, so a folder of many thousand entries is checked in
  // linear time.
  const std::vector<ScanEntryKey> entries = ListedKeys();
  std::unordered_set<std::string> known;
  known.reserve(entries.size());
  for (const ScanEntryKey& e : entries) {
    if (e.ItemKind == kLooseFile) known.insert(ToUpperAscii(e.FileName + e.FileExt));
    else if (e.ItemKind == kArchiveMember) known.insert(ToUpperAscii(e.Archiver));
  }
  auto isKnown = [&](const std::string& name) {
    return known.count(ToUpperAscii(name)) != 0;
  };
  std::vector<const DirEntry*> newFiles, newArchives;
  const PassFiles files = FilesOfPass();
  for (const DirEntry* e : files.music)
    if (!isKnown(e->name)) newFiles.push_back(e);
  for (const DirEntry* e : files.archives)
    if (!isKnown(e->name)) newArchives.push_back(e);
  const int total = static_cast<int>(newFiles.size() + newArchives.size());
  if (total == 0) return;
  OnWindow([&] {
    env_.view.SetProgressRange(total);
    env_.view.SetStatusText(0, "ファイル情報を更新中です..");
  });
  int done = 0;
  auto stepDone = [&] {
    ++done;
    OnWindow([&] {
      if (env_.view.ProgressMaximum() == total) {
        env_.view.SetProgressPosition(done);
        env_.view.SetStatusText(0, "ファイル情報を更新中です..");
      }
    });
  };
  for (const DirEntry* e : newFiles) {
    ProcessLooseFile(*e);
    stepDone();
    if (Stopped()) return;
  }
  for (const DirEntry* e : newArchives) {
    ScanArchive(*e);
    stepDone();
    if (Stopped()) return;
  }
}

}  // namespace kadrel
