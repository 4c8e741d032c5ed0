#include "com/win/uTypeInfoInvoke.h"

#include <oleauto.h>

#include <algorithm>
#include <vector>

namespace vq::com {
namespace {

bool IsVariantRef(const VARIANT &argument) {
  return argument.vt == (VT_BYREF | VT_VARIANT) && argument.pvarVal != nullptr;
}

// The description of the function `member` callable with `flags`.
class TFunction {
public:
  TFunction(ITypeInfo *info, DISPID member, WORD flags) : info_(info) {
    TYPEATTR *attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes))) return;
    const UINT count = attributes->cFuncs;
    info->ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < count && description_ == nullptr; ++i) {
      FUNCDESC *function = nullptr;
      if (FAILED(info->GetFuncDesc(i, &function))) continue;
      if (function->memid == member && (function->invkind & flags) != 0)
        description_ = function;
      else
        info->ReleaseFuncDesc(function);
    }
  }
  TFunction(const TFunction &) = delete;
  TFunction &operator=(const TFunction &) = delete;
  ~TFunction() {
    if (description_ != nullptr) info_->ReleaseFuncDesc(description_);
  }

  // The declaration of parameter `index`, nullptr when there is none.
  const ELEMDESC *Parameter(LONG index) const {
    if (description_ == nullptr || index < 0 || index >= description_->cParams) return nullptr;
    return &description_->lprgelemdescParam[index];
  }

private:
  ITypeInfo *info_;
  FUNCDESC *description_ = nullptr;
};

// A caller's variable standing in for an out-parameter of another type.
struct TStandIn {
  VARIANT *Variable;
  VARIANT Holder;
};

} // namespace

HRESULT InvokeAcceptingVariantRefs(ITypeInfo *info, void *instance, DISPID member, WORD flags,
                                   DISPPARAMS *params, VARIANT *result, EXCEPINFO *exception,
                                   UINT *argumentError) {
  if (params == nullptr || params->rgvarg == nullptr ||
      std::none_of(params->rgvarg, params->rgvarg + params->cArgs, IsVariantRef))
    return info->Invoke(instance, member, flags, params, result, exception, argumentError);

  const TFunction function(info, member, flags);
  std::vector<VARIANT> arguments(params->rgvarg, params->rgvarg + params->cArgs);
  std::vector<TStandIn> standIns;
  standIns.reserve(arguments.size());
  const auto release = [&standIns] {
    for (TStandIn &standIn : standIns) VariantClear(&standIn.Holder);
  };

  for (UINT i = 0; i < params->cArgs; ++i) {
    VARIANT &argument = arguments[i];
    if (!IsVariantRef(argument)) continue;
    // Named arguments come first, positional ones last to first.
    const LONG index = i < params->cNamedArgs ? params->rgdispidNamedArgs[i]
                                              : static_cast<LONG>(params->cArgs - 1 - i);
    const ELEMDESC *parameter = function.Parameter(index);
    if (parameter == nullptr) continue;
    const TYPEDESC &type = parameter->tdesc;
    const USHORT direction = parameter->paramdesc.wParamFlags;
    if ((direction & PARAMFLAG_FOUT) != 0 && type.vt == VT_PTR && type.lptdesc->vt != VT_VARIANT) {
      const VARTYPE declared = type.lptdesc->vt;
      TStandIn &standIn = standIns.emplace_back(TStandIn{argument.pvarVal, VARIANT{}});
      if ((direction & PARAMFLAG_FIN) != 0 && argument.pvarVal->vt != VT_EMPTY) {
        const HRESULT converted = VariantChangeType(&standIn.Holder, argument.pvarVal, 0, declared);
        if (FAILED(converted)) {
          release();
          if (argumentError != nullptr) *argumentError = i;
          return DISP_E_TYPEMISMATCH;
        }
      } else {
        standIn.Holder.vt = declared;
      }
      argument.vt = VT_BYREF | declared;
      argument.byref = &standIn.Holder.llVal;
    } else if ((direction & PARAMFLAG_FOUT) == 0 && type.vt != VT_VARIANT) {
      // An in-parameter takes the variable's value; nothing is written back.
      argument = *argument.pvarVal;
    }
  }

  DISPPARAMS shadow = *params;
  shadow.rgvarg = arguments.data();
  const HRESULT invoked =
      info->Invoke(instance, member, flags, &shadow, result, exception, argumentError);
  if (FAILED(invoked)) {
    release();
    return invoked;
  }
  for (TStandIn &standIn : standIns) {
    VariantClear(standIn.Variable);
    *standIn.Variable = standIn.Holder;
  }
  return invoked;
}

} // namespace vq::com
