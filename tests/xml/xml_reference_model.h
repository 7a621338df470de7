// A deliberately plain model of the reader's rules, for differential tests: it materialises every step
// (line normalisation, string tokens with their kind prefix, a node-per-allocation tree) exactly as the
// rules are worded, with no attention to speed. The fast reader must give the same tokens and trees.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quendra::testing {

// Lines rejoined with CR LF after every line; a NUL ends the input.
std::string ModelNormaliseLines(std::string_view input);

// Token strings such as "OT:a x='1'" or "TX:text", for already line-normalised text.
std::vector<std::string> ModelTokens(const std::string& text);

struct ModelOutcome {
  bool ok = true;
  std::string dump;  // in the format of xml_tree_dump.h; empty when !ok
};

ModelOutcome ModelParse(std::string_view input);

}  // namespace quendra::testing
