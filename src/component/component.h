// Components: named objects that own other components. The owner frees what it owns (last created first);
// a component without an owner is held by whoever made it. Names of the components one owner holds are
// unique without regard to ASCII letter case; an empty name is always allowed.
//
// A property path ("BegSign.Text", "Left", "Font.Name") is resolved against a component: every segment but
// the last names an owned component or an object property, the last one a published property.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "component/persistent.h"

namespace quendra {

class EComponentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TComponent : public TPersistent {
 public:
  TComponent() = default;
  ~TComponent() override;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  const std::string& Name() const { return name_; }
  // Throws EComponentError when the owner already holds another component of that name.
  void SetName(std::string name);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  TComponent* Owner() const { return owner_; }
  std::size_t ComponentCount() const { return components_.size(); }
  TComponent& Components(std::size_t index) const { return *components_.at(index); }
  // An owned component by name (direct children only), or null.
  TComponent* FindComponent(std::string_view name) const;

  // Creates a component owned by this one: `auto& edit = form.Create<TEdit>("BegSign");`
  template <class T, class... Args>
  T& Create(std::string name, Args&&... args) {
    auto made = std::make_unique<T>(std::forward<Args>(args)...);
    made->SetName(std::move(name));
    T& ref = *made;
    InsertComponent(std::move(made));
    return ref;
  }
  // Takes ownership; throws EComponentError on a duplicate name or when `component` already has an owner.
  TComponent& InsertComponent(std::unique_ptr<TComponent> component);
  // Gives up ownership of a component this one owns; null when it is not owned here.
  std::unique_ptr<TComponent> RemoveComponent(TComponent& component);

 private:
  std::string name_;
  int tag_ = 0;
  TComponent* owner_ = nullptr;
  std::vector<std::unique_ptr<TComponent>> components_;
};

// Resolves a dotted property path against `root`; an empty reference when a segment cannot be found.
PropertyRef ResolvePropertyPath(TPersistent& root, std::string_view path);

}  // namespace quendra
