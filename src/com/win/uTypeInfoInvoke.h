#pragma once

#include <windows.h>

namespace vq::com {

// IDispatch::Invoke answered from the type library, as ITypeInfo::Invoke does, except
// that out-parameters may also come as VARIANT references (VT_BYREF | VT_VARIANT): that is
// how VBScript and PowerShell pass their variables, and a plain type-library dispatch
// refuses them with "Type mismatch". Such a reference gets a value of the declared type.
HRESULT InvokeAcceptingVariantRefs(ITypeInfo *info, void *instance, DISPID member, WORD flags,
                                   DISPPARAMS *params, VARIANT *result, EXCEPINFO *exception,
                                   UINT *argumentError);

} // namespace vq::com
