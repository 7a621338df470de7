#include "component/file_dialog.h"

#include "component/property_binding.h"

namespace quendra {

using binding::Field;

const TClassInfo& TFileDialog::StaticClass() {
  static const TClassInfo info{"TFileDialog",
                               &TComponent::StaticClass(),
                               {
                                   Field("FileName", &TFileDialog::FileName),
                                   Field("Filter", &TFileDialog::Filter),
                                   Field("FilterIndex", &TFileDialog::FilterIndex),
                                   Field("DefaultExt", &TFileDialog::DefaultExt),
                                   Field("Title", &TFileDialog::Title),
                               }};
  return info;
}

const TClassInfo& TOpenDialog::StaticClass() {
  static const TClassInfo info{"TOpenDialog", &TFileDialog::StaticClass(), {}};
  return info;
}

const TClassInfo& TSaveDialog::StaticClass() {
  static const TClassInfo info{"TSaveDialog", &TFileDialog::StaticClass(), {}};
  return info;
}

}  // namespace quendra
