// Custom translators: handlers for objects the generic property walk cannot translate on its own.
//
// An entry names a class (matched against the object's class and its ancestors, ignoring ASCII case) and
// either a property name or none. An entry with a property name ("*") runs for whole components of the
// class after their listed properties are translated; an entry without one runs for objects of the class
// that are met as the value of a translated property (a grid's column collection, say), in place of the
// generic treatment. The first matching entry, in registration order, is used.
//
// Process-wide and guarded by its own lock; entries registered at start-up stay for the process's life.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "component/persistent.h"

namespace quendra {

class TWtransl;

using CustomTranslator = std::function<void(TWtransl& translator, TPersistent& object)>;

void RegisterCustomTranslator(std::string class_name, std::optional<std::string> property_name,
                              CustomTranslator handler);

// The handler of the first entry for `object`'s class that has a property name (`whole_component`) or has
// none; empty when no entry matches.
CustomTranslator FindCustomTranslator(const TPersistent& object, bool whole_component);

}  // namespace quendra
