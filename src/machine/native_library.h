// A native library loaded for one call and released when the object goes, also when the call
// path leaves by an error.
#pragma once

#include <string>
#include <string_view>

namespace trel {

class NativeLibrary {
 public:
  // Tries the name as given, then, when it holds no "/", NAME.so and libNAME.so. An empty name,
  // or one holding a zero byte, names no library and does not load (an empty name would
  // otherwise open the running program itself).
  explicit NativeLibrary(std::string_view name);
  ~NativeLibrary();
  NativeLibrary(const NativeLibrary&) = delete;
  NativeLibrary& operator=(const NativeLibrary&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  // The entry point of an exported function, or null when the library has no symbol of that name
  // or the symbol does not lie in executable code (a data symbol must never be called).
  void* function(std::string_view name) const;

 private:
  void* handle_ = nullptr;
};

}  // namespace trel
