#include "host/com/ComponentRegistry.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <memory>

namespace qalvoro::com {
namespace {

QString progIdKey(const QString& progId) { return QStringLiteral("ProgID/%1/CLSID").arg(progId); }

QString serverKey(const QString& clsid) {
  return QStringLiteral("CLSID/%1/InprocServer32").arg(clsid);
}

std::unique_ptr<QSettings> open() {
  return std::make_unique<QSettings>(ComponentRegistry::filePath(), QSettings::IniFormat);
}

}  // namespace

QString ComponentRegistry::filePath() {
  const QString overridden = qEnvironmentVariable("QALVORO_COMPONENT_REGISTRY");
  if (!overridden.isEmpty()) return overridden;
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/qalvoro/components.ini");
}

void ComponentRegistry::registerClass(const QString& progId, const QString& clsid,
                                      const QString& libraryPath) {
  QDir().mkpath(QFileInfo(filePath()).absolutePath());
  auto settings = open();
  settings->setValue(progIdKey(progId), clsid);
  settings->setValue(serverKey(clsid), libraryPath);
}

void ComponentRegistry::unregisterClass(const QString& progId, const QString& clsid) {
  auto settings = open();
  settings->remove(QStringLiteral("ProgID/%1").arg(progId));
  settings->remove(QStringLiteral("CLSID/%1").arg(clsid));
}

QString ComponentRegistry::clsidOf(const QString& progId) const {
  return open()->value(progIdKey(progId)).toString();
}

QString ComponentRegistry::libraryOf(const QString& clsid) const {
  return open()->value(serverKey(clsid)).toString();
}

}  // namespace qalvoro::com
