// The one way the editor writes a file: the new contents go to a temporary file in the
// target's folder and replace the target by a rename only once every byte reached the disk.
// A target that is a symlink is followed, so the file it points to is replaced and the link
// stays. A target that exists but is not a regular file (a device, FIFO, socket, folder) or
// that we may not write to is refused before anything is written.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/model.h"

// Writes a new file and renames it over the target in commit(). Any failed step leaves the
// target untouched and no temporary behind. The temporary has no name until commit()
// where the file system allows (O_TMPFILE); elsewhere it is created under an unpredictable
// name with O_EXCL | O_NOFOLLOW, so nothing already at that name can receive the bytes.
class SafeFileWriter {
 public:
  explicit SafeFileWriter(std::string target);
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;
  ~SafeFileWriter();

  void put(const void* data, size_t n);
  void putI32(int32_t v);
  void putU16(uint16_t v);
  void putU8(uint8_t v) { put(&v, 1); }
  void putF32(float v) { putI32(static_cast<int32_t>(std::bit_cast<uint32_t>(v))); }
  void putVec3(Vec3 v) {
    putF32(v.x);
    putF32(v.y);
    putF32(v.z);
  }
  // Flushes, syncs, closes and renames; false (and nothing left behind) on any failure.
  bool commit();

 private:
  void flush();
  void abandon();

  std::string target_;  // the file that is replaced: the given name with symlinks followed
  std::string temp_;    // the temporary's name, once it has one
  int fd_ = -1;
  bool unnamed_ = false;  // fd_ is an O_TMPFILE file without a name yet
  bool failed_ = false;
  std::vector<uint8_t> buffer_;
  size_t used_ = 0;
};

// The target a save of `name` replaces: the name with every symlink on its last component
// followed (a dangling link gives the name it points to). Empty when the links loop.
std::string resolveSaveTarget(const std::string& name);

// Removes temporaries that saves of this user's editors killed in mid-write left in
// `folder` (names of the form .kovrin-<pid>-<tag>.tmp whose process no longer runs).
// Returns how many were removed.
int removeStaleTemporaries(const std::string& folder);
