#include "DynamicLibrary.h"

#include <QFileInfo>

namespace ramvex {

void TDynamicLibrary::SetFileName(const std::string& fileName) {
  Unload();
  fileName_ = fileName;
}

void TDynamicLibrary::Load() {
  if (loaded_) return;
  const QString path = QString::fromStdString(fileName_);
  if (!QFileInfo(path).isFile()) throw EFileNotFoundError();
  library_.setFileName(path);
  // Every symbol is resolved at load, so a library that cannot work fails
  // here and not in the middle of a run.
  library_.setLoadHints(QLibrary::ResolveAllSymbolsHint);
  if (!library_.load()) throw EInitError();
  loaded_ = true;
}

QFunctionPointer TDynamicLibrary::Entry(const char* name) {
  if (!loaded_) throw EDLLNotOpenError();
  return library_.resolve(name);
}

void TDynamicLibrary::Unload() {
  if (!loaded_) return;
  library_.unload();
  loaded_ = false;
}

}  // namespace ramvex
