#include "pdf_words.h"

#include <cstdio>
#include <memory>

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

// The value of attribute `name` in the tag that begins at `tag` ("" when it has none).
std::string Attribute(const std::string& html, std::size_t tag, const std::string& name) {
  std::size_t close = html.find('>', tag);
  std::size_t at = html.find(" " + name + "=\"", tag);
  if (at == std::string::npos || at > close) return "";
  at += name.size() + 3;
  return html.substr(at, html.find('"', at) - at);
}

double Number(const std::string& text) {
  return text.empty() ? 0 : std::stod(text);
}

}  // namespace

std::vector<PdfPage> ReadPdfWords(const std::filesystem::path& pdf) {
  const std::string html = Run("pdftotext -bbox " + Quote(pdf) + " - 2>/dev/null");
  std::vector<PdfPage> pages;
  for (std::size_t at = html.find('<'); at != std::string::npos; at = html.find('<', at + 1)) {
    if (html.compare(at, 6, "<page ") == 0) {
      pages.push_back(
          {Number(Attribute(html, at, "width")), Number(Attribute(html, at, "height")), {}});
    } else if (html.compare(at, 6, "<word ") == 0) {
      std::size_t textStart = html.find('>', at) + 1;
      std::size_t textEnd = html.find("</word>", textStart);
      if (textEnd == std::string::npos) break;
      if (pages.empty()) pages.push_back({});
      pages.back().words.push_back(
          {Unescape(html.substr(textStart, textEnd - textStart)),
           Number(Attribute(html, at, "xMin")), Number(Attribute(html, at, "yMin")),
           Number(Attribute(html, at, "xMax")), Number(Attribute(html, at, "yMax"))});
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
  const std::string info = Run("pdfinfo " + Quote(pdf) + " 2>/dev/null");
  const std::string key = "Title:";
  std::size_t at = info.find(key);
  if (at == std::string::npos) return "";
  at = info.find_first_not_of(' ', at + key.size());
  if (at == std::string::npos) return "";
  std::string title = info.substr(at, info.find('\n', at) - at);
  while (!title.empty() && (title.back() == '\r' || title.back() == ' ')) title.pop_back();
  return title;
}

}  // namespace velunorh::test
