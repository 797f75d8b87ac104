#include "io/recovery_file.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "io/binary_file.h"
#include "io/model_file.h"

namespace {

constexpr const char* kCompanionSuffix = ".name";

std::string companionOf(const std::string& path) {
  return path + kCompanionSuffix;
}

// mkdir -p with private folders; true when the folder exists afterwards.
bool makeFolders(const std::string& folder) {
  for (size_t at = 1; at <= folder.size(); ++at) {
    if (at != folder.size() && folder[at] != '/') continue;
    const std::string part = folder.substr(0, at);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

uint64_t fnv1a64(const std::string& text) {
  uint64_t h = 14695981039346656037ull;
  for (const char c : text) {
    h ^= static_cast<uint8_t>(c);
    h *= 1099511628211ull;
  }
  return h;
}

// The last part of the file name, with characters other than letters, digits, '.', '-' and
// '_' replaced, and at most 40 of them.
std::string readableLeaf(const std::string& name) {
  const size_t slash = name.find_last_of('/');
  std::string leaf = slash == std::string::npos ? name : name.substr(slash + 1);
  if (leaf.size() > 40) leaf.resize(40);
  for (char& c : leaf) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '_';
    if (!plain) c = '_';
  }
  return leaf;
}

}  // namespace

std::string recoveryFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return std::string(state) + "/kovrin";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.local/state/kovrin";
  return {};
}

std::string recoveryPath(const std::string& folder, const std::string& workingDir,
                         const std::string& currentFile) {
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx",
                static_cast<unsigned long long>(fnv1a64(workingDir + '\0' + currentFile)));
  return folder + "/" + readableLeaf(currentFile) + "-" + hash + ".rq";
}

bool writeRecoveryFile(const Model& m, const std::string& path, const std::string& workingDir,
                       const std::string& currentFile, std::string& error) {
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  if (folder.empty() || !makeFolders(folder)) {
    error = "could not make the folder " + folder + ": " + std::strerror(errno);
    return false;
  }
  if (saveModel(m, path).message != kMsgFileSaved) {
    error = "could not write " + path;
    return false;
  }
  SafeFileWriter names(companionOf(path));
  const std::string text = workingDir + '\0' + currentFile;
  names.put(text.data(), text.size());
  if (!names.commit()) {
    error = "could not write " + companionOf(path);
    return false;
  }
  return true;
}

bool readRecoveryName(const std::string& path, std::string& workingDir, std::string& currentFile) {
  std::ifstream in(companionOf(path), std::ios::binary);
  if (!in) return false;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t zero = text.find('\0');
  if (zero == std::string::npos || zero + 1 >= text.size()) return false;
  workingDir = text.substr(0, zero);
  currentFile = text.substr(zero + 1);
  return true;
}

std::string newestRecoveryFile(const std::string& folder) {
  DIR* dir = folder.empty() ? nullptr : opendir(folder.c_str());
  if (dir == nullptr) return {};
  std::string newest;
  struct timespec newestTime {};
  while (const dirent* e = readdir(dir)) {
    const std::string leaf = e->d_name;
    if (leaf.size() < 4 || leaf.compare(leaf.size() - 3, 3, ".rq") != 0) continue;
    const std::string path = folder + "/" + leaf;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    const bool later =
        newest.empty() || st.st_mtim.tv_sec > newestTime.tv_sec ||
        (st.st_mtim.tv_sec == newestTime.tv_sec && st.st_mtim.tv_nsec > newestTime.tv_nsec);
    if (later) {
      newest = path;
      newestTime = st.st_mtim;
    }
  }
  closedir(dir);
  return newest;
}

void removeRecoveryFile(const std::string& path) {
  if (path.empty()) return;
  unlink(path.c_str());
  unlink(companionOf(path).c_str());
}

void removeRecoveryFiles(RecoveryState& r) {
  removeRecoveryFile(r.writtenPath);
  removeRecoveryFile(r.recoveredFrom);
  r.writtenPath.clear();
  r.recoveredFrom.clear();
  r.writtenState = 0;
}

std::string workingFolder() {
  char buffer[4096];
  if (getcwd(buffer, sizeof buffer) == nullptr) return {};
  return buffer;
}
