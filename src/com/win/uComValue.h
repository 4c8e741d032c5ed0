#pragma once

#include "core/uValue.h"

#include <windows.h>

namespace vq::com {

// The server interface's values as VARIANTs, both ways. Data packets are byte arrays
// (SAFEARRAY of VT_UI1), arrays are SAFEARRAYs of VARIANT.

// References are followed; a VARIANT of a kind no Value holds (an object, a multi-
// dimensional array...) raises vq::Error with DISP_E_TYPEMISMATCH.
Value VariantToValue(const VARIANT &variant);

// `variant` must be empty (VariantInit); allocation failure raises std::bad_alloc.
void ValueToVariant(const Value &value, VARIANT &variant);

// Owns a VARIANT.
struct TVariant : VARIANT {
  TVariant() { VariantInit(this); }
  TVariant(const TVariant &) = delete;
  TVariant &operator=(const TVariant &) = delete;
  ~TVariant() { VariantClear(this); }
};

} // namespace vq::com
