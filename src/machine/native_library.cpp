#include "machine/native_library.h"

#include <dlfcn.h>
#include <link.h>

#include <cstdint>

namespace trel {

namespace {

bool namesNothing(std::string_view name) {
  return name.empty() || name.find('\0') != std::string_view::npos;
}

void* openOne(const std::string& file) {
  // RTLD_NOW: a library whose own imports do not resolve fails here, instead of ending the
  // process at the first call that needs one of them.
  return dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

struct CodeSearch {
  uintptr_t address;
  bool found;
};

int findCodeSegment(dl_phdr_info* info, size_t, void* data) {
  auto* search = static_cast<CodeSearch*>(data);
  for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_LOAD || (segment.p_flags & PF_X) == 0) continue;
    uintptr_t start = info->dlpi_addr + segment.p_vaddr;
    if (search->address >= start && search->address - start < segment.p_memsz) {
      search->found = true;
      return 1;
    }
  }
  return 0;
}

bool isExecutableCode(void* address) {
  CodeSearch search{reinterpret_cast<uintptr_t>(address), false};
  dl_iterate_phdr(findCodeSegment, &search);
  return search.found;
}

}  // namespace

NativeLibrary::NativeLibrary(std::string_view name) {
  if (namesNothing(name)) return;
  std::string file(name);
  handle_ = openOne(file);
  if (handle_ || file.find('/') != std::string::npos) return;
  handle_ = openOne(file + ".so");
  if (!handle_) handle_ = openOne("lib" + file + ".so");
}

NativeLibrary::~NativeLibrary() {
  if (handle_) dlclose(handle_);
}

void* NativeLibrary::function(std::string_view name) const {
  if (!handle_ || namesNothing(name)) return nullptr;
  void* entry = dlsym(handle_, std::string(name).c_str());
  if (!entry || !isExecutableCode(entry)) return nullptr;
  return entry;
}

}  // namespace trel
