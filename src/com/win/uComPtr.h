#pragma once

#include <unknwn.h>

#include <utility>

namespace vq::com {

// Owns one reference to a COM interface.
template <typename T> class TComPtr {
public:
  TComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit TComPtr(T *owned) : p_(owned) {}
  TComPtr(const TComPtr &other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  TComPtr(TComPtr &&other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  TComPtr &operator=(TComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~TComPtr() {
    if (p_) p_->Release();
  }

  T *Get() const { return p_; }
  T *operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For an out-parameter: releases what is held first.
  T **Put() {
    *this = TComPtr();
    return &p_;
  }
  // Hands the reference to the caller.
  T *Detach() { return std::exchange(p_, nullptr); }

private:
  T *p_ = nullptr;
};

} // namespace vq::com
