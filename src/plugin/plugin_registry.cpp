#include "plugin/plugin_registry.h"

#include <algorithm>
#include <atomic>

namespace quendra {

namespace {

std::unique_ptr<TzelPlugin> create_base_plugin(PPluginCallRec rec) { return std::make_unique<TzelPlugin>(rec); }

std::atomic<PluginClass> g_plugin_class{create_base_plugin};
std::atomic<TPluginRegistry*> g_registry{nullptr};

PluginPtr find_in(const TPluginRegistry::List& list, uint32_t handle) {
  auto it = std::find_if(list.begin(), list.end(), [&](const PluginPtr& p) { return p->Handle == handle; });
  return it == list.end() ? nullptr : *it;
}

}  // namespace

namespace detail {
TPluginRegistry* registry() noexcept { return g_registry.load(std::memory_order_acquire); }
}  // namespace detail

void RegisterPluginClass(PluginClass plugin_class) { g_plugin_class.store(plugin_class); }

void StartPluginRegistry() {
  if (!g_registry.load()) g_registry.store(std::make_unique<TPluginRegistry>().release());
}

void ShutdownPluginRegistry() noexcept {
  std::unique_ptr<TPluginRegistry> registry(g_registry.exchange(nullptr));
  if (!registry) return;
  TPluginRegistry::List doomed;
  {
    ListWriteLock write(*registry);
    doomed.swap(write.list());
  }
  for (PluginPtr& plugin : doomed) {
    try {
      plugin.reset();
    } catch (...) {
    }
  }
}

PluginPtr FindPlugin(PPluginCallRec rec) {
  if (!rec || rec->Handle == 0) return nullptr;
  TPluginRegistry* registry = detail::registry();
  if (!registry) return nullptr;
  const bool release = rec->ReleaseFlag == QUENDRA_RELEASE_FLAG;

  ListReadLock read(*registry);
  PluginPtr found = find_in(read.list(), rec->Handle);
  if (found && !release) return found;
  if (!found && release) return nullptr;  // releasing what does not exist must not create it

  ListWriteLock write(*registry);
  TPluginRegistry::List& list = write.list();
  // Another thread may have created or released this handle while the lock was promoted: look again.
  found = find_in(list, rec->Handle);
  if (release) {
    if (found) std::erase(list, found);
    return nullptr;  // destroyed when the last running call lets go of it
  }
  if (found) return found;
  try {
    PluginPtr created(g_plugin_class.load()(rec));
    created->AfterConstruction();
    created->Handle = rec->Handle;
    list.push_back(created);
    return created;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace quendra
