#pragma once

#include <QString>

namespace qalvoro::com {

// The per-user component registry: which class identifier a ProgID names
// and which library serves a class. An INI file in the user's configuration
// folder, or the file named by QALVORO_COMPONENT_REGISTRY.
class ComponentRegistry {
 public:
  static QString filePath();

  void registerClass(const QString& progId, const QString& clsid, const QString& libraryPath);
  void unregisterClass(const QString& progId, const QString& clsid);
  // Empty when not registered.
  QString clsidOf(const QString& progId) const;
  QString libraryOf(const QString& clsid) const;
};

}  // namespace qalvoro::com
