// Failures inside the library are exceptions of these types; every export catches them.
#pragma once

#include <stdexcept>
#include <string>

namespace quendra {

// A failed internal consistency check. what() is "Assertion failure (LOCATION)".
class AssertionFailure : public std::logic_error {
 public:
  explicit AssertionFailure(const char* location)
      : std::logic_error(std::string("Assertion failure (") + location + ")") {}
};

// Source locations named by consistency checks.
inline constexpr char kParamListUnit[] = "zelShared\\Public\\Common\\zelParamLst";
inline constexpr char kPluginModuleUnit[] = "zelShared\\Private\\Plugins\\zelPluginModule";

// A parameter list without its validity mark reached an export.
class InvalidCallParameters : public std::runtime_error {
 public:
  InvalidCallParameters() : std::runtime_error("Invalid call parameters") {}
};

}  // namespace quendra
