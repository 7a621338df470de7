#include "component/component.h"

#include <algorithm>

#include "component/ascii_text.h"
#include "component/property_binding.h"

namespace quendra {

const TClassInfo& TComponent::StaticClass() {
  static const TClassInfo info{"TComponent",
                               &TPersistent::StaticClass(),
                               {
                                   binding::Accessor<TComponent>(
                                       "Name", [](const TComponent& c) { return c.Name(); },
                                       [](TComponent& c, const std::string& name) { c.SetName(name); }),
                                   binding::Accessor<TComponent>(
                                       "Tag", [](const TComponent& c) { return c.Tag(); },
                                       [](TComponent& c, int tag) { c.SetTag(tag); }),
                               }};
  return info;
}

TComponent::~TComponent() {
  // Last created first, as later components may refer to earlier ones.
  while (!components_.empty()) {
    std::unique_ptr<TComponent> last = std::move(components_.back());
    components_.pop_back();
    last->owner_ = nullptr;
  }
}

void TComponent::SetName(std::string name) {
  if (owner_ != nullptr && !name.empty()) {
    const TComponent* other = owner_->FindComponent(name);
    if (other != nullptr && other != this) {
      throw EComponentError("A component named " + name + " already exists");
    }
  }
  name_ = std::move(name);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const auto& c : components_) {
    if (SameTextAscii(c->name_, name)) return c.get();
  }
  return nullptr;
}

TComponent& TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
  if (!component) throw EComponentError("Cannot insert a null component");
  if (component->owner_ != nullptr)
    throw EComponentError("Component " + component->name_ + " already has an owner");
  if (FindComponent(component->name_) != nullptr) {
    throw EComponentError("A component named " + component->name_ + " already exists");
  }
  component->owner_ = this;
  components_.push_back(std::move(component));
  return *components_.back();
}

std::unique_ptr<TComponent> TComponent::RemoveComponent(TComponent& component) {
  const auto it = std::find_if(components_.begin(), components_.end(),
                               [&](const std::unique_ptr<TComponent>& c) { return c.get() == &component; });
  if (it == components_.end()) return nullptr;
  std::unique_ptr<TComponent> out = std::move(*it);
  components_.erase(it);
  out->owner_ = nullptr;
  return out;
}

PropertyRef ResolvePropertyPath(TPersistent& root, std::string_view path) {
  TPersistent* current = &root;
  for (;;) {
    const std::size_t dot = path.find('.');
    if (dot == std::string_view::npos) {
      const PropertyInfo* info = current->FindProperty(path);
      if (info == nullptr) return {};
      return PropertyRef{current, info};
    }
    const std::string_view segment = path.substr(0, dot);
    path.remove_prefix(dot + 1);
    TPersistent* next = nullptr;
    if (auto* component = dynamic_cast<TComponent*>(current)) next = component->FindComponent(segment);
    if (next == nullptr) {
      const PropertyInfo* info = current->FindProperty(segment);
      if (info != nullptr && info->Kind == PropertyKind::Object && info->Object)
        next = info->Object(*current);
    }
    if (next == nullptr) return {};
    current = next;
  }
}

}  // namespace quendra
