// The entry points of the component library and its one class, ImportData.

#include <dlfcn.h>

#include <QFileInfo>
#include <QTextStream>
#include <atomic>
#include <cstring>

#include "accounts/AccountsBatch.h"
#include "accounts/FrmAcc_Restore.h"
#include "catalogue/CatalogueBatch.h"
#include "catalogue/FrmCat_Restore.h"
#include "host/ImportData.h"
#include "host/batch/BranchBatch.h"
#include "host/com/ComTypes.h"
#include "host/com/ComponentRegistry.h"
#include "host/forms/Windows.h"

#define QALVORO_EXPORT extern "C" __attribute__((visibility("default")))

namespace qalvoro::com {
namespace {

std::atomic<int> liveObjects{0};
std::atomic<int> serverLocks{0};

bool same(const char* a, const char* b) { return a && b && std::strcmp(a, b) == 0; }

// A reference-counted object that deletes itself on its last Release, as
// every object handed across the binary surface does.
template <class Interface>
class Counted : public Interface {
 public:
  Counted() { ++liveObjects; }
  virtual ~Counted() { --liveObjects; }
  std::uint32_t AddRef() override { return ++references_; }
  std::uint32_t Release() override {
    const std::uint32_t left = --references_;
    if (left == 0) delete this;  // the object owns itself through its count
    return left;
  }

 protected:
  HRESULT answer(const char* iid, const char* own, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!same(iid, own) && !same(iid, kIidUnknown)) return E_NOINTERFACE;
    *object = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }

 private:
  std::atomic<std::uint32_t> references_{1};
};

// Shows a restore window modally and unloads it when the user leaves it.
template <class Window>
void showRestoreWindow() {
  windows().get<Window>().showModal();
  windows().unload<Window>();
}

class ImportDataObject final : public Counted<IImportData> {
 public:
  ImportDataObject() {
    importData_.setRestoreWindow(0, &showRestoreWindow<FrmCat_Restore>);
    importData_.setRestoreWindow(1, &showRestoreWindow<FrmAcc_Restore>);
  }
  HRESULT QueryInterface(const char* iid, void** object) override {
    return answer(iid, kIidImportData, object);
  }
  HRESULT StartUpdate(const QString& AppPath, const QString& INI_Path,
                      const QString& vODBC) override {
    importData_.StartUpdate(AppPath, INI_Path, vODBC);
    return S_OK;
  }

 private:
  ImportData importData_;
};

class ImportDataFactory final : public Counted<IClassFactory> {
 public:
  HRESULT QueryInterface(const char* iid, void** object) override {
    return answer(iid, kIidClassFactory, object);
  }
  HRESULT CreateInstance(IUnknown* outer, const char* iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return E_FAIL;                // no aggregation
    auto* created = new ImportDataObject();  // owned by its reference count
    const HRESULT result = created->QueryInterface(iid, object);
    created->Release();
    return result;
  }
  HRESULT LockServer(bool lock) override {
    serverLocks += lock ? 1 : -1;
    return S_OK;
  }
};

QString libraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&libraryPath), &info) == 0 || !info.dli_fname) {
    return {};
  }
  return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

}  // namespace
}  // namespace qalvoro::com

using namespace qalvoro::com;

QALVORO_EXPORT HRESULT DllRegisterServer() {
  const QString path = libraryPath();
  if (path.isEmpty()) return SELFREG_E_CLASS;
  ComponentRegistry().registerClass(kProgId, kClsidImportData, path);
  return S_OK;
}

QALVORO_EXPORT HRESULT DllUnregisterServer() {
  ComponentRegistry().unregisterClass(kProgId, kClsidImportData);
  return S_OK;
}

QALVORO_EXPORT HRESULT DllGetClassObject(const char* clsid, const char* iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!same(clsid, kClsidImportData)) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new ImportDataFactory();  // owned by its reference count
  const HRESULT result = factory->QueryInterface(iid, object);
  factory->Release();
  return result;
}

QALVORO_EXPORT HRESULT DllCanUnloadNow() {
  return liveObjects == 0 && serverLocks == 0 ? S_OK : S_FALSE;
}

// Unattended runs of the host program: "accounts", "catalogue" and "branch".
QALVORO_EXPORT int RunBatch(const QString* kind, const QStringList* arguments) {
  QTextStream out(stdout);
  if (kind && arguments && *kind == QLatin1String("accounts")) {
    return qalvoro::RunAccountsBatch(*arguments, out);
  }
  if (kind && arguments && *kind == QLatin1String("catalogue")) {
    return qalvoro::RunCatalogueBatch(*arguments, out);
  }
  if (kind && arguments && *kind == QLatin1String("branch")) {
    return qalvoro::RunBranchBatch(*arguments, out);
  }
  out << "batch: unknown kind of run" << Qt::endl;
  return qalvoro::kBatchUsage;
}
