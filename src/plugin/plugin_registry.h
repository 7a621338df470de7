// The process-wide registry of module instances and the module class that FindPlugin creates.
//
// Instances are shared: the registry holds one reference and every running export call another, so releasing an
// instance while another thread is still inside a call on it destroys it only when that call ends.
#pragma once

#include <memory>

#include "common/thread_containers.h"
#include "plugin/plugin.h"

namespace quendra {

using PluginPtr = std::shared_ptr<TzelPlugin>;
using PluginClass = std::unique_ptr<TzelPlugin> (*)(PPluginCallRec rec);
using TPluginRegistry = TThreadObjectList<PluginPtr>;

// Sets the class FindPlugin creates (the concrete module registers itself at start-up).
void RegisterPluginClass(PluginClass plugin_class);

// The instance the record names: found, or created for a new non-zero Handle. A release request (ReleaseFlag
// 0xFF) removes and destroys the named instance and yields none; for an unknown Handle it creates nothing.
PluginPtr FindPlugin(PPluginCallRec rec);

// Calls `fn` for every registered instance under the registry's read lock.
template <typename Fn>
void ForEachPlugin(Fn&& fn);

// Creates the registry (start-up) and destroys every instance still registered (shutdown). Exports called
// outside these two points find no registry and answer as for no instance.
void StartPluginRegistry();
void ShutdownPluginRegistry() noexcept;

namespace detail {
TPluginRegistry* registry() noexcept;
}

template <typename Fn>
void ForEachPlugin(Fn&& fn) {
  TPluginRegistry* registry = detail::registry();
  if (!registry) return;
  ListReadLock read(*registry);
  for (const PluginPtr& plugin : read.list()) fn(*plugin);
}

}  // namespace quendra
