#pragma once
// Drives, folders and files as the file chooser lists them. On Linux a
// "drive" is the root "/" or another mounted file system the user can read
// (disks, removable media, network shares), named by its mount point;
// kernel and runtime file systems (/proc, /sys, /dev, /run, cgroups, ...)
// are not drives.
#include <QString>
#include <QStringList>

namespace platform {

// "/" first, then the other drives in mount order.
QStringList Drives();

// The drive a saved drive name stands for: a Windows drive letter ("c:\",
// "D:") is the root; anything else is taken as a mount point.
QString DriveFromSaved(const QString& saved);

// The drive (mount point) that path lies on.
QString DriveOf(const QString& path);

// The folder a drive opens at: the current folder when it lies on that
// drive, else the drive's mount point.
QString DriveCurrentFolder(const QString& drive);

// The sub-folders of a folder (hidden ones left out), sorted by name.
QStringList SubFolders(const QString& folder);

// The file names in folder that match a pattern such as "*.txt", without
// regard to case, hidden files left out, sorted by name.
QStringList MatchingFiles(const QString& folder, const QString& pattern);

}  // namespace platform
