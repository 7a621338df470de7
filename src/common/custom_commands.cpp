#include "common/custom_commands.h"

namespace quendra {

std::string TzelPluginCustomCmdList::GetCustomCommandsText() const {
  std::string text;
  for (const auto& c : commands_) {
    text += c.Text1 + '|' + c.Text2 + '|' + c.Text3 + '|' + std::to_string(c.Number1) + '|' +
            std::to_string(c.Number2) + "\r\n";
  }
  return text;
}

}  // namespace quendra
