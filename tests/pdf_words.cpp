#include "pdf_words.h"

#include <cstdio>
#include <memory>
#include <regex>

namespace velunorh::test {
namespace {

std::string Run(const std::string& command) {
  std::string out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return out;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe.get())) out.append(buffer, n);
  return out;
}

std::string Quote(const std::filesystem::path& path) {
  std::string quoted = "'";
  for (char c : path.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string Unescape(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [from, to] : entities) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + 1))
      text.replace(at, std::string(from).size(), to);
  }
  return text;
}

}  // namespace

std::vector<PdfPage> ReadPdfWords(const std::filesystem::path& pdf) {
  std::string html = Run("pdftotext -bbox " + Quote(pdf) + " - 2>/dev/null");
  std::vector<PdfPage> pages;
  static const std::regex page(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
  static const std::regex word(
      R"re(<word xMin="([0-9.-]+)" yMin="([0-9.-]+)" xMax="([0-9.-]+)" yMax="([0-9.-]+)">([^<]*)</word>)re");
  std::string::const_iterator it = html.begin();
  while (true) {
    std::smatch pm, wm;
    bool hasPage = std::regex_search(it, html.cend(), pm, page);
    bool hasWord = std::regex_search(it, html.cend(), wm, word);
    if (!hasPage && !hasWord) break;
    if (hasPage && (!hasWord || pm.position() < wm.position())) {
      pages.push_back({std::stod(pm[1]), std::stod(pm[2]), {}});
      it = pm.suffix().first;
    } else {
      if (pages.empty()) pages.push_back({});
      pages.back().words.push_back({Unescape(wm[5]), std::stod(wm[1]), std::stod(wm[2]),
                                    std::stod(wm[3]), std::stod(wm[4])});
      it = wm.suffix().first;
    }
  }
  return pages;
}

const PdfWord* FindWord(const PdfPage& page, const std::string& text) {
  for (const auto& w : page.words)
    if (w.text == text) return &w;
  return nullptr;
}

std::string PdfTitle(const std::filesystem::path& pdf) {
  std::string info = Run("pdfinfo " + Quote(pdf) + " 2>/dev/null");
  static const std::regex title(R"re(Title:\s*(.*))re");
  std::smatch m;
  if (!std::regex_search(info, m, title)) return "";
  std::string t = m[1];
  while (!t.empty() && (t.back() == '\r' || t.back() == ' ')) t.pop_back();
  return t;
}

}  // namespace velunorh::test
