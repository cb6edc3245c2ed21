#pragma once
// The one way the program writes a file: whole or not at all.
//
// A regular target is written to an unnamed temporary file in its folder
// (O_TMPFILE: a killed process leaves nothing behind), every write checked,
// then flushed, synced and linked into place. Where the file system has no
// unnamed files, a hidden temporary file (created exclusively, never through
// a symlink) is renamed into place instead. A failure at any step removes the
// temporary file and leaves whatever was at the target untouched.
// A replaced file's mode, owner and group pass to the new one. Hidden
// temporary files a killed run left behind are removed after an hour.
// "-" is standard output, and /dev/stdout, /dev/fd/N and /proc/self/fd/N the
// descriptor already open (never the file behind it opened anew); an
// existing character device, FIFO or socket (/dev/full, a named pipe) is
// written directly, writes checked.
#include <QString>

#include <memory>
#include <optional>

#include <sys/types.h>

class QIODevice;

namespace platform {

enum class Replace { Never, Allowed };

class OutputFile {
 public:
  OutputFile();
  ~OutputFile();  // abandons an uncommitted file
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // False when the target cannot be written (Error() says why); with
  // Replace::Never an existing target is refused here already, and again
  // at Commit should one appear meanwhile.
  bool Open(const QString& path, Replace replace);
  // The final name is stem + "-N" + suffix in folder, N the first free
  // number from 1, claimed only at Commit, so concurrent writers each get
  // their own. A missing folder is created.
  bool OpenNumbered(const QString& folder, const QString& stem, const QString& suffix);

  QIODevice* Device();  // null unless open
  // Checked flush, fsync, close, then into place. False: Error() says why and
  // nothing is left behind.
  bool Commit();
  void Abandon();

  // Why the last step failed, e.g. "no space left on the device",
  // "permission denied", "the folder /x does not exist", "/x/a.pdf already exists".
  QString Error() const { return error_; }
  QString FinalPath() const { return finalPath_; }  // after Commit

 private:
  class Writer;
  void Begin(const QString& target, bool numbered, Replace replace);
  bool OpenTemporary(const QString& folder);
  bool Fail(const QString& why);
  bool Place();
  int Link(const QByteArray& to) const;
  void CloseUnnamed();
  void SetOwnership(int fd) const;

  struct Ownership {
    mode_t mode;
    uid_t uid;
    gid_t gid;
  };

  std::unique_ptr<Writer> device_;
  QString target_;     // the named target (Open), or the folder (OpenNumbered)
  QString stem_, suffix_;
  bool numbered_ = false;
  Replace replace_ = Replace::Never;
  QByteArray temporary_;  // the hidden temporary file's name, if there is one
  int unnamedFd_ = -1;    // the unnamed temporary file, kept open to link it
  QString finalPath_;
  QString error_;
  std::optional<Ownership> kept_;  // of the file a replacing Open will replace
};

// True for a path written as it stands rather than through a temporary file:
// "-", a descriptor's name (/dev/stdout, /dev/fd/N), a device, FIFO or socket.
bool WrittenInPlace(const QString& path);

// The reason for an errno, in the words OutputFile uses.
QString OutputErrorText(int error);

}  // namespace platform
