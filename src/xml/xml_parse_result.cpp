#include "xml/xml_parse_result.h"

#include <string>

namespace quendra {

const char* XmlParseResult::description() const noexcept {
  switch (status_) {
    case XmlParseStatus::ok:
      return "no error";
    case XmlParseStatus::closing_tag_at_document_level:
      return "closing tag without an open element is followed by more content";
    case XmlParseStatus::input_too_large:
      return "input is too large to parse";
  }
  return "unknown parse status";
}

XmlParseError::XmlParseError(const XmlParseResult& result)
    : std::runtime_error(std::string(result.description()) + " at offset " + std::to_string(result.offset())),
      result_(result) {}

}  // namespace quendra
