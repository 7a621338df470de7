// Custom commands a module offers to the host (GetCustomCommands). What the texts and numbers mean is the
// module's business; only the text form is fixed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quendra {

struct TzelPluginCustomCmd {
  std::string Text1, Text2, Text3;
  uint8_t Number1 = 0, Number2 = 0;
};

class TzelPluginCustomCmdList {
 public:
  void Add(TzelPluginCustomCmd command) { commands_.push_back(std::move(command)); }
  void Clear() { commands_.clear(); }
  std::size_t Count() const { return commands_.size(); }
  // One line per entry: the three texts and the two numbers in decimal, joined by "|", ending in CR LF.
  std::string GetCustomCommandsText() const;

 private:
  std::vector<TzelPluginCustomCmd> commands_;
};

}  // namespace quendra
