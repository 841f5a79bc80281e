#include "ui/print/cups_library.h"

#include <dlfcn.h>

namespace velunorh {
namespace {

template <typename Function>
bool Resolve(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(::dlsym(library, name));
  return function != nullptr;
}

}  // namespace

std::unique_ptr<const CupsLibrary> OpenCupsLibrary(const char* fileName) {
  // Never closed: the functions are kept for the rest of the run.
  void* library = ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
  if (!library) return nullptr;
  auto cups = std::make_unique<CupsLibrary>();
  if (!Resolve(library, "cupsGetNamedDest", cups->cupsGetNamedDest) ||
      !Resolve(library, "cupsGetOption", cups->cupsGetOption) ||
      !Resolve(library, "cupsFreeDests", cups->cupsFreeDests) ||
      !Resolve(library, "cupsGetJobs2", cups->cupsGetJobs2) ||
      !Resolve(library, "cupsFreeJobs", cups->cupsFreeJobs) ||
      !Resolve(library, "cupsCancelJob2", cups->cupsCancelJob2)) {
    ::dlclose(library);
    return nullptr;
  }
  return cups;
}

const CupsLibrary* Cups() {
  static const std::unique_ptr<const CupsLibrary> kCups = OpenCupsLibrary("libcups.so.2");
  return kCups.get();
}

}  // namespace velunorh
