// Parses the same data blocks with the tree reader, pugixml and expat, and memcpy as the floor, and
// reports bytes_per_second for each. Blocks are cut at the root element "Data" from the generated stream
// (QUENDRA_XML_BENCH_STREAM, or the file named by the environment variable of the same name) and
// grouped by size: all blocks, under 1 KB, and 1 KB to 4 KB.
#include <benchmark/benchmark.h>
#include <expat.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "xml/xml_tree.h"

namespace {

struct BlockSet {
  std::vector<std::string_view> blocks;
  std::size_t bytes = 0;
};

struct Stream {
  std::string text;
  BlockSet bands[3];  // all, < 1 KB, 1 KB .. 4 KB
};

const Stream& LoadStream() {
  static const Stream stream = [] {
    Stream s;
    const char* path = std::getenv("QUENDRA_XML_BENCH_STREAM");
    std::ifstream in(path ? path : QUENDRA_XML_BENCH_STREAM, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open the benchmark stream");
    s.text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const std::string_view text = s.text;
    const std::string_view end_tag = "</Data>";
    for (std::size_t pos = 0;;) {
      std::size_t start = text.find("<Data", pos);
      while (start != std::string_view::npos && start + 5 < text.size() && text[start + 5] != ' ' &&
             text[start + 5] != '>') {
        start = text.find("<Data", start + 1);
      }
      if (start == std::string_view::npos) break;
      const std::size_t end = text.find(end_tag, start);
      if (end == std::string_view::npos) break;
      const std::string_view block = text.substr(start, end + end_tag.size() - start);
      pos = end + end_tag.size();
      for (int band : {0, block.size() < 1024 ? 1 : 2}) {
        s.bands[band].blocks.push_back(block);
        s.bands[band].bytes += block.size();
      }
    }
    return s;
  }();
  return stream;
}

const BlockSet& Band(const benchmark::State& state) {
  return LoadStream().bands[state.range(0)];
}

void Finish(benchmark::State& state, const BlockSet& set) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * set.bytes));
  state.counters["blocks"] = static_cast<double>(set.blocks.size());
}

void BM_TtolXMLTree(benchmark::State& state) {
  const BlockSet& set = Band(state);
  quendra::TtolXMLTree tree;  // reused from block to block, as the pipeline does
  for (auto _ : state) {
    for (std::string_view block : set.blocks) {
      const quendra::XmlParseResult result = tree.parse(block);
      benchmark::DoNotOptimize(result);
      benchmark::DoNotOptimize(tree.Children().data());
    }
  }
  Finish(state, set);
}

void BM_Pugixml(benchmark::State& state) {
  const BlockSet& set = Band(state);
  pugi::xml_document document;
  for (auto _ : state) {
    for (std::string_view block : set.blocks) {
      const pugi::xml_parse_result result = document.load_buffer(block.data(), block.size());
      benchmark::DoNotOptimize(result);
      benchmark::DoNotOptimize(document.first_child().internal_object());
    }
  }
  Finish(state, set);
}

// Expat builds no tree; the handlers only count, which is the least any user of it does.
void BM_Expat(benchmark::State& state) {
  const BlockSet& set = Band(state);
  std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate(nullptr),
                                                                      &XML_ParserFree);
  std::size_t events = 0;
  for (auto _ : state) {
    for (std::string_view block : set.blocks) {
      XML_ParserReset(parser.get(), nullptr);
      XML_SetUserData(parser.get(), &events);
      XML_SetElementHandler(
          parser.get(),
          [](void* data, const XML_Char*, const XML_Char**) { ++*static_cast<std::size_t*>(data); },
          [](void* data, const XML_Char*) { ++*static_cast<std::size_t*>(data); });
      XML_SetCharacterDataHandler(
          parser.get(), [](void* data, const XML_Char*, int) { ++*static_cast<std::size_t*>(data); });
      const XML_Status status =
          XML_Parse(parser.get(), block.data(), static_cast<int>(block.size()), XML_TRUE);
      benchmark::DoNotOptimize(status);
    }
  }
  benchmark::DoNotOptimize(events);
  Finish(state, set);
}

void BM_Memcpy(benchmark::State& state) {
  const BlockSet& set = Band(state);
  std::vector<char> copy(4096);
  for (auto _ : state) {
    for (std::string_view block : set.blocks) {
      if (block.size() > copy.size()) copy.resize(block.size());
      std::memcpy(copy.data(), block.data(), block.size());
      benchmark::ClobberMemory();
    }
  }
  Finish(state, set);
}

void Bands(benchmark::internal::Benchmark* b) {
  b->ArgName("band")->Arg(0)->Arg(1)->Arg(2);
}

BENCHMARK(BM_TtolXMLTree)->Apply(Bands);
BENCHMARK(BM_Pugixml)->Apply(Bands);
BENCHMARK(BM_Expat)->Apply(Bands);
BENCHMARK(BM_Memcpy)->Apply(Bands);

}  // namespace

BENCHMARK_MAIN();
