// Reading an executable's resources and updating them in place of the file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "resources/executable_image.h"
#include "resources/resources.h"
#include "rtl/errors.h"
#include "rtl/replacement_file.h"

namespace trel {

namespace {

// Opens a regular file for reading; answers its descriptor, and `st` holds its status. The open
// does not wait: a FIFO would otherwise block it until a writer came.
int openRegularFile(const std::string& path, struct stat& st, const std::string& shownAs) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) throw ResourceError("Cannot open \"" + shownAs + "\": " + std::strerror(errno));
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    throw ResourceError("\"" + shownAs + "\" is not a regular file");
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

ExecutableResources loadFrom(int fd, uint64_t fileSize, const std::string& path) {
  ExecutableResources out;
  out.path = path;
  const uint64_t extent = programExtent(fd, fileSize, path);
  out.programSize = fileSize;
  if (fileSize == extent) return out;

  ResourceTrailer trailer;
  if (fileSize - extent < kResourceTrailerSize ||
      !readResourceTrailer(
          readFileRange(fd, fileSize - kResourceTrailerSize, kResourceTrailerSize, path), trailer))
    throw ResourceError("\"" + path +
                        "\" is damaged or truncated: data follows the program without a resource "
                        "container to hold it");
  if (trailer.containerStart < extent || trailer.containerStart > fileSize - kResourceTrailerSize)
    throw ResourceError("The resource container of \"" + path +
                        "\" is damaged: its start lies outside the file");
  const uint64_t containerSize = fileSize - trailer.containerStart;
  if (containerSize > UINT32_MAX)  // more than any container holds; not read into memory
    throw ResourceError("The resource container of \"" + path + "\" is damaged: it is too large");
  try {
    out.resources = decodeResourceContainer(
        readFileRange(fd, trailer.containerStart, static_cast<size_t>(containerSize), path));
  } catch (const ResourceError& e) {
    throw ResourceError("The resource container of \"" + path + "\" is damaged: " + errorText(e));
  }
  out.programSize = trailer.containerStart;
  return out;
}

}  // namespace

ExecutableResources loadExecutableResources(const std::string& path) {
  return loadExecutableResources(path, path);
}

ExecutableResources loadExecutableResources(const std::string& path, const std::string& shownAs) {
  struct stat st;
  int fd = openRegularFile(path, st, shownAs);
  try {
    ExecutableResources out = loadFrom(fd, static_cast<uint64_t>(st.st_size), shownAs);
    out.path = path;
    ::close(fd);
    return out;
  } catch (...) {
    ::close(fd);
    throw;
  }
}

ResourceUpdate::ResourceUpdate(const std::string& path) : target_(replacementTarget(path)) {
  struct stat st;
  fd_ = openRegularFile(target_, st, path);
  try {
    loaded_ = loadFrom(fd_, static_cast<uint64_t>(st.st_size), path);
    if (!isWritableFile(target_))
      throw ResourceError("\"" + path + "\" is read-only or cannot be written");
  } catch (...) {
    ::close(fd_);
    throw;
  }
  mode_ = st.st_mode & 07777;
}

ResourceUpdate::ResourceUpdate(const std::string& source, const std::string& target, unsigned mode)
    : target_(replacementTarget(target)), mode_(mode) {
  struct stat st;
  fd_ = openRegularFile(source, st, source);
  try {
    loaded_ = loadFrom(fd_, static_cast<uint64_t>(st.st_size), source);
  } catch (...) {
    ::close(fd_);
    throw;
  }
}

ResourceUpdate::~ResourceUpdate() {
  if (fd_ >= 0) ::close(fd_);
}

void ResourceUpdate::write(uint32_t type, const ResourceName& name, uint32_t language,
                           std::string bytes) {
  for (Resource& r : loaded_.resources)
    if (r.type == type && r.language == language && r.name == name) {
      r.bytes = std::move(bytes);
      return;
    }
  loaded_.resources.push_back(Resource{type, name, language, std::move(bytes)});
}

void ResourceUpdate::commit() {
  if (committed_)
    throw ResourceError("The resources of \"" + loaded_.path + "\" were written already");
  std::string container = encodeResourceContainer(loaded_.resources, loaded_.programSize);
  ReplacementFile out(target_, mode_);
  out.appendFrom(fd_, loaded_.programSize);
  out.append(container);
  out.commit();
  committed_ = true;
}

}  // namespace trel
