#pragma once

#include <QLibrary>
#include <QString>
#include <memory>
#include <stdexcept>
#include <utility>

#include "host/com/ComTypes.h"

namespace qalvoro::com {

// Holds one reference to an interface and releases it at the end.
template <class Interface>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(Interface* adopted) : pointer_(adopted) {}
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }

  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  void** out() {
    reset();
    return reinterpret_cast<void**>(&pointer_);
  }
  void reset() {
    if (pointer_) std::exchange(pointer_, nullptr)->Release();
  }

 private:
  Interface* pointer_ = nullptr;
};

class ComError : public std::runtime_error {
 public:
  ComError(const QString& what, HRESULT result)
      : std::runtime_error(what.toStdString()), result_(result) {}
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};

// A component library loaded into this process, with its four entry points.
class InprocServer {
 public:
  explicit InprocServer(const QString& libraryPath);

  HRESULT registerServer() const { return register_(); }
  HRESULT unregisterServer() const { return unregister_(); }
  HRESULT canUnloadNow() const { return canUnloadNow_(); }
  ComPtr<IClassFactory> classFactory(const char* clsid) const;
  // Runs an unattended run of the given kind; throws ComError when the
  // library has none.
  int runBatch(const QString& kind, const QStringList& arguments) const;

 private:
  std::unique_ptr<QLibrary> library_;
  DllRegisterServerFn register_ = nullptr;
  DllUnregisterServerFn unregister_ = nullptr;
  DllGetClassObjectFn getClassObject_ = nullptr;
  DllCanUnloadNowFn canUnloadNow_ = nullptr;
  RunBatchFn runBatch_ = nullptr;
};

// Creates the ImportData object registered under a ProgID. The library stays
// loaded for the life of the returned server.
struct CreatedImportData {
  std::unique_ptr<InprocServer> server;
  ComPtr<IImportData> object;
};
CreatedImportData createImportData(const QString& progId);

}  // namespace qalvoro::com
