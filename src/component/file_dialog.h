// The open-file and save-file boxes as non-visual components: what they remember between uses (the last
// file and filter) is persisted; showing them is the platform view's job.
#pragma once

#include <string>

#include "component/component.h"

namespace quendra {

class TFileDialog : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  std::string FileName;
  std::string Filter;
  int FilterIndex = 1;
  std::string DefaultExt;
  std::string InitialDir;
  std::string Title;
};

class TOpenDialog : public TFileDialog {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
};

class TSaveDialog : public TFileDialog {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
};

}  // namespace quendra
