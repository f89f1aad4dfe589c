#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "v1source/source/Version1Files.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace qalvoro {

class Connection;
class FileListBox;

// The version-1 source of a restore window: choosing the folder, opening a
// version-1 file into the working copy, listing its branches, and closing
// it. The window owns the controls and hands them over; it learns of branch
// changes through CboOldBranch's own signal.
class Version1Source {
 public:
  enum class Product { Accounts, Catalogue };

  struct Controls {
    QComboBox* CboOldBranch = nullptr;
    QPushButton* CmdOpenOldDB = nullptr;
    FileListBox* File1 = nullptr;          // accounts window
    QPushButton* CmdImportGaid = nullptr;  // accounts window
    QLineEdit* txtOldDBFile = nullptr;     // catalogue window
    QPushButton* CmdFilter = nullptr;      // catalogue window
    // Closes the window's version-2 list when it is open.
    std::function<void()> closeVersion2List;
  };

  // Gives the open button its designed (Arabic) caption; made while the
  // window is built, before its loading translates the captions.
  Version1Source(Product product, Controls controls);
  ~Version1Source();
  Version1Source(const Version1Source&) = delete;
  Version1Source& operator=(const Version1Source&) = delete;

  // The open button: closes when its caption says close, opens otherwise.
  void CmdOpenOldDB_Click();
  // The folder button: finds a folder with the folder search.
  void CmdDialog_Click();

  // True while the open button shows the close caption.
  bool isOpen() const;
  // The open working copy.
  Connection& database();

 private:
  void openFile();
  void closeFile();
  // Replaces the working copy by a conversion of the source; false when
  // aborted. When the conversion fails and the user ignores it, what can be
  // read of the source is converted and what was left out is shown.
  bool makeWorkingCopy(const QString& source);
  void openWorkingCopy();
  bool openAccounts();
  bool openCatalogue();
  void fillBranches(const std::vector<Version1Branch>& branches);

  Product product_;
  Controls controls_;
  std::unique_ptr<Connection> database_;
};

}  // namespace qalvoro
