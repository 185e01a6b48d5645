// Loader of the engine library.  The library is loaded for one run and
// unloaded at its end, so that every run starts the engine with all its
// working data at zero.
#pragma once

#include <QLibrary>

#include <stdexcept>
#include <string>

namespace ramvex {

// Failures of loading the engine library; what() is the message.
class EDLLError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The library file exists but could not be loaded (a missing dependency,
// unresolved symbols, a file that is not a library for this platform).
class EInitError : public EDLLError {
 public:
  EInitError() : EDLLError("Library failed to properly initialize") {}
};

// No file at the library's path.
class EFileNotFoundError : public EDLLError {
 public:
  EFileNotFoundError() : EDLLError("Library could not be located") {}
};

// An export was looked up while no library is loaded.
class EDLLNotOpenError : public EDLLError {
 public:
  EDLLNotOpenError() : EDLLError("Library is not open") {}
};

class TDynamicLibrary {
 public:
  TDynamicLibrary() = default;
  explicit TDynamicLibrary(const std::string& fileName) { SetFileName(fileName); }
  ~TDynamicLibrary() { Unload(); }
  TDynamicLibrary(const TDynamicLibrary&) = delete;
  TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;

  const std::string& FileName() const { return fileName_; }
  // Unloads a loaded library, then takes the new path.
  void SetFileName(const std::string& fileName);

  bool Loaded() const { return loaded_; }
  // Loads the library unless it is loaded; raises EFileNotFoundError or
  // EInitError when it cannot be loaded.
  void Load();
  // Address of an export, nullptr when the library has none of that name;
  // raises EDLLNotOpenError when no library is loaded.
  QFunctionPointer Entry(const char* name);
  // Frees the library when loaded.
  void Unload();

 private:
  std::string fileName_;
  QLibrary library_;
  bool loaded_ = false;
};

}  // namespace ramvex
