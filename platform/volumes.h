#pragma once
// Volumes in place of drive letters: the mounted file system a folder lies on, and
// whether that folder can be opened now.

#include <QString>

namespace kadrel {

// The folder exists, lies on a mounted volume that is ready, and can be listed.
bool FolderReady(const QString& folder);
// Mount point of the volume holding `folder` ("/" when unknown), ending in "/".
QString VolumeRoot(const QString& folder);

}  // namespace kadrel
