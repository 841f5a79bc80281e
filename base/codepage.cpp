#include "base/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace velunorh {
namespace {

constexpr const char* kCodePage = "WINDOWS-1250";

std::string Convert(const char* to, const char* from, std::string_view in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  std::vector<char> buffer(in.size() * 4 + 16);
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  while (src_left > 0) {
    char* dst = buffer.data();
    std::size_t dst_left = buffer.size();
    std::size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(buffer.data(), dst - buffer.data());
    if (rc == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      // An unmappable or broken input byte: show a placeholder and go on with the next byte.
      out += '?';
      ++src;
      --src_left;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string CodePageToUtf8(std::string_view bytes) { return Convert("UTF-8", kCodePage, bytes); }

std::string Utf8ToCodePage(std::string_view utf8) { return Convert(kCodePage, "UTF-8", utf8); }

}  // namespace velunorh
