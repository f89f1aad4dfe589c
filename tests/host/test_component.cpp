// The component library seen from a host: registration, creation by ProgID,
// the entry points and a call of StartUpdate through the binary surface.

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include "host/com/ComClient.h"
#include "host/com/ComponentRegistry.h"
#include "tests/host/HostTest.h"

namespace qalvoro::test {
namespace {

const QString kLibrary = QStringLiteral(QALVORO_BIN_DIR "/libDravolte_01.so");

class ComponentTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    qputenv("QALVORO_COMPONENT_REGISTRY", registryFile().toLocal8Bit());
  }
  void TearDown() override {
    qunsetenv("QALVORO_COMPONENT_REGISTRY");
    HostTest::TearDown();
  }
  QString registryFile() const { return appPath() + "components.ini"; }
};

TEST_F(ComponentTest, RegistersCreatesByProgIdAndRunsStartUpdate) {
  EXPECT_THROW(com::createImportData(com::kProgId), com::ComError) << "not registered yet";

  const com::InprocServer server(kLibrary);
  ASSERT_EQ(server.registerServer(), com::S_OK);
  const com::ComponentRegistry registry;
  EXPECT_EQ(registry.clsidOf(com::kProgId), com::kClsidImportData);
  EXPECT_EQ(registry.libraryOf(com::kClsidImportData), QFileInfo(kLibrary).absoluteFilePath());

  EXPECT_EQ(server.canUnloadNow(), com::S_OK);
  {
    auto created = com::createImportData(com::kProgId);
    ASSERT_TRUE(created.object);
    EXPECT_EQ(server.canUnloadNow(), com::S_FALSE) << "an object is alive";

    com::ComPtr<com::IUnknown> unknown;
    EXPECT_EQ(created.object->QueryInterface(com::kIidUnknown, unknown.out()), com::S_OK);
    com::ComPtr<com::IUnknown> other;
    EXPECT_EQ(created.object->QueryInterface(com::kIidClassFactory, other.out()),
              com::E_NOINTERFACE);
  }
  EXPECT_EQ(server.canUnloadNow(), com::S_OK) << "every reference was released";

  EXPECT_THROW(server.classFactory("{00000000-0000-0000-0000-000000000000}"), com::ComError);

  // StartUpdate through the binary surface shows the library's message on
  // the desktop; answer it as a person would.
  auto created = com::createImportData(com::kProgId);
  QFile::remove(appPath() + "LTR.DRV");
  QString shown;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->accept();
    }
  });
  answer.start(20);
  EXPECT_EQ(created.object->StartUpdate(appPath(), iniName(), databasePath()), com::S_OK);
  EXPECT_EQ(shown, appPath() + "LTR.DRV\n" + QStringLiteral("خطأ أثناء القراءة من الملف"));

  EXPECT_EQ(server.unregisterServer(), com::S_OK);
  EXPECT_TRUE(registry.clsidOf(com::kProgId).isEmpty());
}

TEST_F(ComponentTest, HostProgramCreatesDatabasesButNeverOverAFile) {
  const QString host = QStringLiteral(QALVORO_BIN_DIR "/qalvoro-host");
  const QString created = appPath() + "created.db";
  EXPECT_EQ(QProcess::execute(host, {"--create-db", created, "--demo"}), 0);
  EXPECT_TRUE(QFile::exists(created));
  const QDateTime made = QFileInfo(created).lastModified();
  const qint64 size = QFileInfo(created).size();
  EXPECT_NE(QProcess::execute(host, {"--create-db", created}), 0) << "never over an existing file";
  EXPECT_EQ(QFileInfo(created).lastModified(), made);
  EXPECT_EQ(QFileInfo(created).size(), size);
}

}  // namespace
}  // namespace qalvoro::test
