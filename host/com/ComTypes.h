#pragma once

// The binary surface of the component library: a small in-process server
// model in which a host finds the library of a class through the per-user
// component registry, asks it for a class factory and creates the object.
// Interfaces are reference counted; identifiers are GUID texts.

#include <QString>
#include <QStringList>
#include <cstdint>

namespace qalvoro::com {

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111);
constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201);

constexpr char kProgId[] = "Dravolte_01.ImportData";
constexpr char kClsidImportData[] = "{6B1E2F3A-5C47-4D2B-9E0F-1A2B3C4D5E01}";
constexpr char kIidUnknown[] = "{00000000-0000-0000-C000-000000000046}";
constexpr char kIidClassFactory[] = "{00000001-0000-0000-C000-000000000046}";
constexpr char kIidImportData[] = "{6B1E2F3A-5C47-4D2B-9E0F-1A2B3C4D5E02}";

class IUnknown {
 public:
  virtual HRESULT QueryInterface(const char* iid, void** object) = 0;
  virtual std::uint32_t AddRef() = 0;
  virtual std::uint32_t Release() = 0;

 protected:
  ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
 public:
  virtual HRESULT CreateInstance(IUnknown* outer, const char* iid, void** object) = 0;
  virtual HRESULT LockServer(bool lock) = 0;

 protected:
  ~IClassFactory() = default;
};

// The one method of the class ImportData: three texts, by reference, not
// modified.
class IImportData : public IUnknown {
 public:
  virtual HRESULT StartUpdate(const QString& AppPath, const QString& INI_Path,
                              const QString& vODBC) = 0;

 protected:
  ~IImportData() = default;
};

// Entry points every component library exports.
using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();
using DllGetClassObjectFn = HRESULT (*)(const char* clsid, const char* iid, void** object);
using DllCanUnloadNowFn = HRESULT (*)();
// Unattended runs: the kind of run and the host's options; returns the exit code.
using RunBatchFn = int (*)(const QString* kind, const QStringList* arguments);

}  // namespace qalvoro::com
