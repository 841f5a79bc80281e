#pragma once

// The header gives the functions' types only: the library is opened when a print first asks the
// spooler, so a start that never prints does not load it and all it pulls in (TLS, Kerberos,
// Avahi).
#include <cups/cups.h>

#include <memory>

namespace velunorh {

// The few functions of the spooler's library the program calls, named as the library names them.
struct CupsLibrary {
  decltype(&::cupsGetNamedDest) cupsGetNamedDest = nullptr;
  decltype(&::cupsGetOption) cupsGetOption = nullptr;
  decltype(&::cupsFreeDests) cupsFreeDests = nullptr;
  decltype(&::cupsGetJobs2) cupsGetJobs2 = nullptr;
  decltype(&::cupsFreeJobs) cupsFreeJobs = nullptr;
  decltype(&::cupsCancelJob2) cupsCancelJob2 = nullptr;
};

// The system's spooler library, opened at the first call and kept for the run; null when it
// cannot be opened or lacks one of the functions.
const CupsLibrary* Cups();

// Opens the library of that file name; null as above.
std::unique_ptr<const CupsLibrary> OpenCupsLibrary(const char* fileName);

}  // namespace velunorh
