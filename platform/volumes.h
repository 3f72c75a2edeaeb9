#pragma once
// Volumes in place of drive letters: the mounted file system a folder lies on, and
// whether that folder can be opened now.

#include <QString>

namespace kadrel {

// The folder exists, lies on a mounted volume that is ready, and can be listed.
bool FolderReady(const QString& folder);

enum class FolderState {
  Ready,
  Missing,     // nothing of that name, or not a folder
  Unreadable,  // there, but this user may not list it
  NotReady,    // there, on a volume that is not ready
};
FolderState FolderStateOf(const QString& folder);

// The folder itself when it exists, else its nearest existing ancestor ("/" at last).
QString NearestExistingFolder(const QString& folder);
// Mount point of the volume holding `folder` ("/" when unknown), ending in "/".
QString VolumeRoot(const QString& folder);

}  // namespace kadrel
