#include "xml/xml_content.h"

#include <cstring>

#include "xml/xml_char_table.h"

namespace quendra::xml_content {
namespace {

const char* SkipPlain(const char* p, const char* end, std::uint8_t mask) noexcept {
  while (p != end && !xml_chars::Is(*p, mask)) ++p;
  return p;
}

bool Follows(const char* p, const char* end, std::string_view what) noexcept {
  return static_cast<std::size_t>(end - p) >= what.size() && std::memcmp(p, what.data(), what.size()) == 0;
}

// Shared driver of both rewrites: copies plain runs whole and lets `special` rewrite the byte at `p`,
// returning where to continue.
template <class Special>
std::string_view Rewrite(std::string_view raw, std::size_t plain, std::uint8_t mask, char* out,
                         Special special) noexcept {
  const char* p = raw.data();
  const char* const end = p + raw.size();
  const char* run_end = p + plain;
  char* o = out;
  for (;;) {
    std::memcpy(o, p, static_cast<std::size_t>(run_end - p));
    o += run_end - p;
    if (run_end == end) break;
    p = special(run_end, end, o);
    run_end = SkipPlain(p, end, mask);
  }
  return {out, static_cast<std::size_t>(o - out)};
}

const char* DecodeAt(const char* p, const char* end, char*& o) noexcept {
  char decoded;
  if (std::size_t used = DecodeEntity(p, end, decoded)) {
    *o++ = decoded;
    return p + used;
  }
  *o++ = '&';
  return p + 1;
}

}  // namespace

std::size_t DecodeEntity(const char* p, const char* end, char& decoded) noexcept {
  struct Reference {
    std::string_view text;
    char value;
  };
  static constexpr Reference kReferences[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&apos;", '\''}, {"&quot;", '"'}};
  for (const Reference& r : kReferences) {
    if (Follows(p, end, r.text)) {
      decoded = r.value;
      return r.text.size();
    }
  }
  return 0;
}

std::string_view FoldSpacesFrom(std::string_view raw, std::size_t plain, bool decode, char* out) noexcept {
  return Rewrite(raw, plain, FoldMask(decode), out, [](const char* p, const char* end, char*& o) {
    if (*p == '&') return DecodeAt(p, end, o);
    *o++ = ' ';
    return p + ((*p == '\r' && p + 1 != end && p[1] == '\n') ? 2 : 1);
  });
}

std::string_view KeepLinesFrom(std::string_view raw, std::size_t plain, bool line_escapes, bool decode,
                               char* out) noexcept {
  return Rewrite(raw, plain, LinesMask(line_escapes, decode), out,
                 [](const char* p, const char* end, char*& o) {
                   switch (*p) {
                     case '&':
                       return DecodeAt(p, end, o);
                     case '\\':
                       if (Follows(p, end, "\\n ")) {
                         *o++ = '\r';
                         *o++ = '\n';
                         return p + 3;
                       }
                       if (Follows(p, end, "\\t ")) {
                         *o++ = '\t';
                         return p + 3;
                       }
                       *o++ = '\\';
                       return p + 1;
                     default:  // CR or LF
                       *o++ = '\r';
                       *o++ = '\n';
                       return p + ((*p == '\r' && p + 1 != end && p[1] == '\n') ? 2 : 1);
                   }
                 });
}

}  // namespace quendra::xml_content
