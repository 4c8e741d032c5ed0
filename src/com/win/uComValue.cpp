#include "com/win/uComValue.h"

#include "com/win/uComText.h"
#include "core/uError.h"

#include <algorithm>
#include <limits>
#include <new>
#include <string>
#include <vector>

namespace vq::com {
namespace {

[[noreturn]] void Unsupported(VARTYPE type) {
  throw Error("A value of VARIANT type " + std::to_string(type) + " cannot be passed",
              DISP_E_TYPEMISMATCH);
}

// Bounds of a one-dimensional array.
std::pair<LONG, LONG> Bounds(SAFEARRAY *array, VARTYPE type) {
  LONG low = 0, high = -1;
  if (array == nullptr) return {0, -1};
  if (SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetLBound(array, 1, &low)) ||
      FAILED(SafeArrayGetUBound(array, 1, &high)))
    Unsupported(VT_ARRAY | type);
  return {low, high};
}

Value ArrayToValue(SAFEARRAY *array, VARTYPE elementType) {
  const auto [low, high] = Bounds(array, elementType);
  if (elementType == VT_UI1) {
    Bytes bytes(static_cast<size_t>(high - low + 1));
    void *data = nullptr;
    if (!bytes.empty()) {
      if (FAILED(SafeArrayAccessData(array, &data))) Unsupported(VT_ARRAY | elementType);
      const auto *first = static_cast<const uint8_t *>(data);
      std::copy(first, first + bytes.size(), bytes.begin());
      SafeArrayUnaccessData(array);
    }
    return Value(std::move(bytes));
  }
  if (elementType != VT_VARIANT) Unsupported(VT_ARRAY | elementType);
  std::vector<Value> items;
  for (LONG i = low; i <= high; ++i) {
    TVariant item;
    if (FAILED(SafeArrayGetElement(array, &i, &item))) Unsupported(VT_ARRAY | elementType);
    items.push_back(VariantToValue(item));
  }
  return Value(std::move(items));
}

Value ConvertedToNumber(const VARIANT &variant) {
  TVariant number;
  if (FAILED(VariantChangeType(&number, const_cast<VARIANT *>(&variant), 0, VT_R8)))
    Unsupported(variant.vt);
  return Value(number.dblVal);
}

SAFEARRAY *NewArray(VARTYPE type, size_t count) {
  if (count > std::numeric_limits<ULONG>::max()) throw std::bad_alloc();
  SAFEARRAY *array = SafeArrayCreateVector(type, 0, static_cast<ULONG>(count));
  if (array == nullptr) throw std::bad_alloc();
  return array;
}

SAFEARRAY *BytesToArray(const Bytes &bytes) {
  SAFEARRAY *array = NewArray(VT_UI1, bytes.size());
  if (bytes.empty()) return array;
  void *data = nullptr;
  if (FAILED(SafeArrayAccessData(array, &data))) {
    SafeArrayDestroy(array);
    throw std::bad_alloc();
  }
  std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t *>(data));
  SafeArrayUnaccessData(array);
  return array;
}

SAFEARRAY *ItemsToArray(const std::vector<Value> &items) {
  SAFEARRAY *array = NewArray(VT_VARIANT, items.size());
  try {
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
      TVariant item;
      ValueToVariant(items[static_cast<size_t>(i)], item);
      if (FAILED(SafeArrayPutElement(array, &i, &item))) throw std::bad_alloc();
    }
  } catch (...) {
    SafeArrayDestroy(array);
    throw;
  }
  return array;
}

} // namespace

Value VariantToValue(const VARIANT &variant) {
  if (variant.vt == (VT_BYREF | VT_VARIANT)) {
    if (variant.pvarVal == nullptr) Unsupported(variant.vt);
    return VariantToValue(*variant.pvarVal);
  }
  if ((variant.vt & VT_BYREF) != 0) {
    TVariant value;
    if (FAILED(VariantCopyInd(&value, const_cast<VARIANT *>(&variant)))) Unsupported(variant.vt);
    return VariantToValue(value);
  }
  if ((variant.vt & VT_ARRAY) != 0)
    return ArrayToValue(variant.parray, static_cast<VARTYPE>(variant.vt & VT_TYPEMASK));
  switch (variant.vt) {
  case VT_EMPTY: return Value();
  case VT_NULL: return Value::Null();
  // A missing optional argument.
  case VT_ERROR:
    if (variant.scode == DISP_E_PARAMNOTFOUND) return Value();
    Unsupported(variant.vt);
  case VT_BOOL: return Value(variant.boolVal != VARIANT_FALSE);
  case VT_I1: return Value(static_cast<int64_t>(variant.cVal));
  case VT_UI1: return Value(static_cast<int64_t>(variant.bVal));
  case VT_I2: return Value(static_cast<int64_t>(variant.iVal));
  case VT_UI2: return Value(static_cast<int64_t>(variant.uiVal));
  case VT_I4: return Value(static_cast<int64_t>(variant.lVal));
  case VT_INT: return Value(static_cast<int64_t>(variant.intVal));
  case VT_UI4: return Value(static_cast<int64_t>(variant.ulVal));
  case VT_UINT: return Value(static_cast<int64_t>(variant.uintVal));
  case VT_I8: return Value(static_cast<int64_t>(variant.llVal));
  case VT_R4: return Value(static_cast<double>(variant.fltVal));
  case VT_R8: return Value(variant.dblVal);
  case VT_CY:
  case VT_DECIMAL: return ConvertedToNumber(variant);
  case VT_DATE: return Value(TDateTime{variant.date});
  case VT_BSTR: return Value(BstrToUtf8(variant.bstrVal));
  default: Unsupported(variant.vt);
  }
}

void ValueToVariant(const Value &value, VARIANT &variant) {
  switch (value.Type()) {
  case ValueType::Empty: variant.vt = VT_EMPTY; return;
  case ValueType::Null: variant.vt = VT_NULL; return;
  case ValueType::Boolean:
    variant.vt = VT_BOOL;
    variant.boolVal = value.AsBoolean() ? VARIANT_TRUE : VARIANT_FALSE;
    return;
  case ValueType::Integer: {
    const int64_t number = value.AsInteger();
    if (number >= std::numeric_limits<LONG>::min() && number <= std::numeric_limits<LONG>::max()) {
      variant.vt = VT_I4;
      variant.lVal = static_cast<LONG>(number);
    } else {
      variant.vt = VT_I8;
      variant.llVal = number;
    }
    return;
  }
  case ValueType::Number:
    variant.vt = VT_R8;
    variant.dblVal = value.AsNumber();
    return;
  case ValueType::Text:
    variant.bstrVal = TBstr(value.AsText()).Detach();
    variant.vt = VT_BSTR;
    return;
  case ValueType::Date:
    variant.vt = VT_DATE;
    variant.date = value.AsDate().Days;
    return;
  case ValueType::Bytes:
    variant.parray = BytesToArray(value.AsBytes());
    variant.vt = VT_ARRAY | VT_UI1;
    return;
  case ValueType::Array:
    variant.parray = ItemsToArray(value.AsArray());
    variant.vt = VT_ARRAY | VT_VARIANT;
    return;
  }
}

} // namespace vq::com
