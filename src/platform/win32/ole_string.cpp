#include "platform/ole_string.h"

#include <windows.h>
#include <oleauto.h>

#include <new>

namespace quendra::platform {

static_assert(sizeof(QuendraVariant) == sizeof(VARIANT), "variant layout must match the system's");

char16_t* ole_string_alloc(const char16_t* text, uint32_t length) {
  BSTR s = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text), length);
  if (!s) throw std::bad_alloc();
  return reinterpret_cast<char16_t*>(s);
}

void ole_string_free(char16_t* text) noexcept { SysFreeString(reinterpret_cast<BSTR>(text)); }

uint32_t ole_string_length(const char16_t* text) noexcept {
  return SysStringLen(reinterpret_cast<BSTR>(const_cast<char16_t*>(text)));
}

bool variant_clear_foreign(QuendraVariant* value) noexcept {
  return SUCCEEDED(VariantClear(reinterpret_cast<VARIANT*>(value)));
}

bool variant_copy_foreign(QuendraVariant* target, const QuendraVariant* source) noexcept {
  auto* dst = reinterpret_cast<VARIANT*>(target);
  VariantInit(dst);
  return SUCCEEDED(VariantCopy(dst, reinterpret_cast<VARIANT*>(const_cast<QuendraVariant*>(source))));
}

}  // namespace quendra::platform
