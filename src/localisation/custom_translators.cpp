#include "localisation/custom_translators.h"

#include <mutex>
#include <vector>

#include "component/ascii_text.h"

namespace quendra {

namespace {

struct Entry {
  std::string class_name;
  std::optional<std::string> property_name;  // lower case
  CustomTranslator handler;
};

struct Registry {
  std::mutex mutex;
  std::vector<Entry> entries;
};

Registry& registry() {
  static Registry instance;
  return instance;
}

}  // namespace

void RegisterCustomTranslator(std::string class_name, std::optional<std::string> property_name,
                              CustomTranslator handler) {
  if (property_name) property_name = LowerAscii(*property_name);
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.entries.push_back(Entry{std::move(class_name), std::move(property_name), std::move(handler)});
}

CustomTranslator FindCustomTranslator(const TPersistent& object, bool whole_component) {
  const TClassInfo& info = object.ClassInfo();
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  for (const Entry& entry : r.entries) {
    if (entry.property_name.has_value() == whole_component && info.InheritsFrom(entry.class_name))
      return entry.handler;
  }
  return {};
}

}  // namespace quendra
