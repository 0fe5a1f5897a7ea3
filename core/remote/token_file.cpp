// Reading and writing the remote's secret files.
#include "remote/token_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "files/file_access.h"
#include "remote/access_guard.h"

namespace vireo::remote {

namespace {

// A folder made here is the owner's alone.
void MakeFolder(const std::string& path) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code ec;
  if (!folder.empty() && !std::filesystem::exists(folder, ec)) {
    std::filesystem::create_directories(folder, ec);
    if (!ec) std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
  }
}

}  // namespace

std::string LoadOrCreateToken(const std::string& path, bool* created, std::string* problem) {
  *created = false;
  std::string text;
  const files::FileRead read = files::ReadBoundedFile(path, 4096, &text);
  if (read.ok()) {
    const auto first = text.find_first_not_of(" \t\r\n");
    const std::string token =
        first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
    if (!IsWellFormedToken(token)) {
      *problem = "the token file " + path + " does not hold 32 hexadecimal digits";
      return {};
    }
    return token;
  }
  if (read.problem != files::FileProblem::cannotOpen || read.errorCode != ENOENT) {
    *problem = "cannot read the token file " + path + ": " + files::DescribeFileProblem(read);
    return {};
  }
  MakeFolder(path);
  const std::string token = NewToken();
  if (token.empty()) {
    *problem = "the system's random source gave no token";
    return {};
  }
  // O_EXCL: two starts at once must not hand out two different tokens for one file.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    if (errno == EEXIST) return LoadOrCreateToken(path, created, problem);
    *problem = "cannot create the token file " + path + ": " + std::strerror(errno);
    return {};
  }
  const std::string line = token + "\n";
  const bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size()) && ::fsync(fd) == 0;
  const int error = errno;
  ::close(fd);
  if (!written) {
    ::unlink(path.c_str());
    *problem = "cannot write the token file " + path + ": " + std::strerror(error);
    return {};
  }
  *created = true;
  return token;
}

bool WriteSecretFile(const std::string& path, std::string_view text, std::string_view what,
                     std::string* problem) {
  MakeFolder(path);
  std::string line(text);
  line += '\n';
  const int error = files::WriteOwnerOnlyFile(path, line);
  if (error == 0) return true;
  *problem = "cannot write the " + std::string(what) + " " + path + ": " + std::strerror(error);
  return false;
}

bool ReadSecretFile(const std::string& path, std::string* text, std::string* problem) {
  text->clear();
  const files::FileRead read = files::ReadBoundedFile(path, 4096, text);
  if (read.ok()) {
    if (!text->empty() && text->back() == '\n') text->pop_back();
    return true;
  }
  text->clear();
  if (read.problem == files::FileProblem::cannotOpen && read.errorCode == ENOENT) return true;
  *problem = "cannot read " + path + ": " + files::DescribeFileProblem(read);
  return false;
}

}  // namespace vireo::remote
