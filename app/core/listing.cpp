#include "morvex/app/listing.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>

#include "morvex/app/utf8.h"

namespace morvex::app {

namespace {

class Directory {
 public:
  explicit Directory(const std::filesystem::path& folder) : dir_(opendir(folder.c_str())) {
    if (dir_ == nullptr) throw std::system_error(errno, std::generic_category(), folder.string());
  }
  ~Directory() { closedir(dir_); }
  Directory(const Directory&) = delete;
  Directory& operator=(const Directory&) = delete;
  DIR* get() const { return dir_; }

 private:
  DIR* dir_;
};

bool IsListed(int dirFd, const char* name) {
  if (name[0] == '.') return false;  // hidden, and the "." and ".." entries
  if (!EndsWithCaseless(name, ".bmp")) return false;
  struct stat st;
  return fstatat(dirFd, name, &st, 0) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::vector<std::string> ListNoteFiles(const std::filesystem::path& folder) {
  Directory dir(folder);
  std::vector<std::string> names;
  errno = 0;
  while (const dirent* entry = readdir(dir.get())) {
    if (IsListed(dirfd(dir.get()), entry->d_name)) names.emplace_back(entry->d_name);
    errno = 0;
  }
  if (errno != 0) throw std::system_error(errno, std::generic_category(), folder.string());
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return CaselessLess(a, b); });
  return names;
}

std::vector<std::string> ReadNoteList(std::istream& list) {
  std::vector<std::string> paths;
  for (std::string line; std::getline(list, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) paths.push_back(std::move(line));
  }
  return paths;
}

void CheckListedFiles(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) throw std::system_error(errno, std::generic_category(), path);
    if (!S_ISREG(st.st_mode)) {
      throw std::system_error(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, std::generic_category(), path);
    }
  }
}

}  // namespace morvex::app
