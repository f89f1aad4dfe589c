#include "host/com/ComClient.h"

#include "host/com/ComponentRegistry.h"

namespace qalvoro::com {
namespace {

template <class Function>
Function resolve(QLibrary& library, const char* name) {
  auto function = reinterpret_cast<Function>(library.resolve(name));
  if (!function) {
    throw ComError(QStringLiteral("%1 lacks the entry point %2").arg(library.fileName(), name),
                   E_FAIL);
  }
  return function;
}

}  // namespace

InprocServer::InprocServer(const QString& libraryPath)
    : library_(std::make_unique<QLibrary>(libraryPath)) {
  if (!library_->load()) {
    throw ComError(QStringLiteral("Cannot load %1: %2").arg(libraryPath, library_->errorString()),
                   E_FAIL);
  }
  register_ = resolve<DllRegisterServerFn>(*library_, "DllRegisterServer");
  unregister_ = resolve<DllUnregisterServerFn>(*library_, "DllUnregisterServer");
  getClassObject_ = resolve<DllGetClassObjectFn>(*library_, "DllGetClassObject");
  canUnloadNow_ = resolve<DllCanUnloadNowFn>(*library_, "DllCanUnloadNow");
  runBatch_ = reinterpret_cast<RunBatchFn>(library_->resolve("RunBatch"));
}

int InprocServer::runBatch(const QString& kind, const QStringList& arguments) const {
  if (!runBatch_) throw ComError(library_->fileName() + " runs no batches", E_FAIL);
  return runBatch_(&kind, &arguments);
}

ComPtr<IClassFactory> InprocServer::classFactory(const char* clsid) const {
  ComPtr<IClassFactory> factory;
  const HRESULT result = getClassObject_(clsid, kIidClassFactory, factory.out());
  if (result != S_OK) throw ComError(QStringLiteral("No class factory for %1").arg(clsid), result);
  return factory;
}

CreatedImportData createImportData(const QString& progId) {
  const ComponentRegistry registry;
  const QString clsid = registry.clsidOf(progId);
  if (clsid.isEmpty()) {
    throw ComError(QStringLiteral("Class not registered: %1").arg(progId),
                   CLASS_E_CLASSNOTAVAILABLE);
  }
  CreatedImportData created;
  created.server = std::make_unique<InprocServer>(registry.libraryOf(clsid));
  const QByteArray clsidText = clsid.toLatin1();
  const auto factory = created.server->classFactory(clsidText.constData());
  const HRESULT result = factory->CreateInstance(nullptr, kIidImportData, created.object.out());
  if (result != S_OK) throw ComError(QStringLiteral("Cannot create %1").arg(progId), result);
  return created;
}

}  // namespace qalvoro::com
