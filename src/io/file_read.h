// Reading a file we were given by name: opened without blocking (a FIFO or a device cannot
// hang the editor), refused unless it is a regular file, and read once, whole, into one
// buffer. Everything a reader checks and builds from comes from that one buffer, so a file
// rewritten by another process while we read cannot slip past the checks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class ReadStatus : uint8_t {
  Ok,
  NotFound,          // no such name (or a folder on the way is missing)
  PermissionDenied,  // the name exists but we may not read it
  Directory,         // a folder
  NotRegularFile,    // a FIFO, socket or device
  TooLarge,          // longer than the limit the caller set, or than the memory we may use
  ReadFailed,        // the read itself failed (I/O error)
};

// What to do with a file longer than the limit.
enum class OverLimit : uint8_t { Refuse, Truncate };

struct FileBytes {
  ReadStatus status = ReadStatus::ReadFailed;
  std::vector<uint8_t> bytes;  // the whole file (or its first maxBytes when truncated)
  bool truncated = false;      // OverLimit::Truncate and more bytes followed
};

// Reads the regular file at `path` in one pass. With OverLimit::Refuse a file longer than
// `maxBytes` gives TooLarge and no bytes; with OverLimit::Truncate its first `maxBytes` bytes
// come back with `truncated` set. The descriptor is closed on every path.
FileBytes readFileBytes(const std::string& path, int64_t maxBytes,
                        OverLimit overLimit = OverLimit::Refuse);

// The status message for a read that did not succeed: "Error: file not found" for missing
// names and folders, "Error: permission denied", "Error: too many triangles" for a file
// longer than anything the capacities can hold, "Error: damaged file" for the rest.
uint8_t readStatusMessage(ReadStatus status);
