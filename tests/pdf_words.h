#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velunorh::test {

// A word of a PDF page as poppler's pdftotext -bbox reads it, in points from the page's
// top-left corner.
struct PdfWord {
  std::string text;
  double xMin, yMin, xMax, yMax;
};

struct PdfPage {
  double width = 0, height = 0;
  std::vector<PdfWord> words;
};

// Whether this test program can read a PDF back: poppler's programs run on Linux, and a Windows
// test program under Wine cannot start them.
#ifdef _WIN32
inline constexpr bool kCanReadPdf = false;
#else
inline constexpr bool kCanReadPdf = true;
#endif

// Every page of the file; empty when the file cannot be read.
std::vector<PdfPage> ReadPdfWords(const std::filesystem::path& pdf);

// The first word with this text, or null.
const PdfWord* FindWord(const PdfPage& page, const std::string& text);

// The document title (pdfinfo's "Title"), "" when none.
std::string PdfTitle(const std::filesystem::path& pdf);

}  // namespace velunorh::test
