// One input, three ways: a fresh tree, the same tree reused for a prefix of the input (as the pipeline
// reuses one tree for block after block), and the throwing entry point. Every tree is walked whole to
// check its links, and the trees of inputs of ordinary block size must equal those of the plain model
// that the unit tests use. Seeds: corpus/; dictionary: xml_tree.dict.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "xml/xml_tree.h"
#include "xml_reference_model.h"
#include "xml_tree_dump.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// Visits every node and string, checking that each child links back to its parent.
void Walk(const quendra::TtolXMLNode& root) {
  std::size_t bytes = 0;
  std::vector<const quendra::TtolXMLNode*> pending{&root};
  while (!pending.empty()) {
    const quendra::TtolXMLNode* node = pending.back();
    pending.pop_back();
    bytes += node->Name().size() + node->Text().size();
    for (const quendra::TtolXMLAttribute& a : node->Attributes()) bytes += a.Name().size() + a.Value().size();
    for (const quendra::TtolXMLNode* child : node->Children()) {
      Check(child->Parent() == node);
      pending.push_back(child);
    }
  }
  Check(bytes < (uint64_t{1} << 40));
}

// The model rescans from every '<' and so takes quadratic time; larger inputs only get the checks above.
constexpr std::size_t kModelMaxInput = 1 << 14;

// The tree (or the failure) must be the model's.
void CompareWithModel(std::string_view input, const quendra::TtolXMLTree& tree, bool ok) {
  if (input.size() > kModelMaxInput) return;
  const quendra::testing::ModelOutcome expected = quendra::testing::ModelParse(input);
  Check(ok == expected.ok);
  Check(quendra::testing::Dump(tree) == expected.dump);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  quendra::TtolXMLTree tree;
  const quendra::XmlParseResult result = tree.parse(input);
  Check(result || result.offset() < size);
  Walk(tree);
  CompareWithModel(input, tree, static_cast<bool>(result));
  if (const quendra::TtolXMLNode* found = tree.FindElement("Data")) Walk(*found);

  const std::string_view half = input.substr(0, size / 2);
  const bool half_ok = static_cast<bool>(tree.parse(half));
  Walk(tree);
  CompareWithModel(half, tree, half_ok);
  try {
    tree.LoadFromText(input);
    Check(static_cast<bool>(result));
  } catch (const quendra::XmlParseError& e) {
    Check(!result && e.result().offset() == result.offset());
  }
  Walk(tree);
  return 0;
}
