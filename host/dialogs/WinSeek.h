#pragma once

#include "host/forms/Form.h"

class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace qalvoro {

class DirListBox;
class DriveListBox;
class FileListBox;

// Searches the folder shown in dirList, and every folder below it on the
// same drive, for folders that hold a file matching filList's pattern, and
// lets the user pick one of them or the folder shown. The tag is the chosen
// folder, or empty when the user left with cmdExit.
class WinSeek : public Form {
  Q_OBJECT

 public:
  explicit WinSeek(QWidget* parent = nullptr);

  // Most entries lstFoundFiles takes before the search is abandoned.
  void setCapacity(int entries) { capacity_ = entries; }
  bool isRunning() const { return running_; }
  // Shows the folder (the home folder when it cannot be read) on its drive.
  void openAt(const QString& folder);

  QGroupBox* Frame1 = nullptr;
  QFrame* Picture1 = nullptr;
  DriveListBox* drvList = nullptr;
  DirListBox* dirList = nullptr;
  FileListBox* filList = nullptr;
  QLabel* lblfound = nullptr;
  QListWidget* lstFoundFiles = nullptr;
  QLabel* lblPath = nullptr;
  QPushButton* cmdSearch = nullptr;
  QPushButton* CmdOK = nullptr;
  QPushButton* cmdExit = nullptr;

 protected:
  void formLoad() override;
  // Closing the window stops a running search.
  void formUnload() override;

 private:
  enum class Walk { Continue, Abandon };

  void cmdSearch_Click();
  void CmdOK_Click();
  void cmdExit_Click();
  void startSearch();
  void stopSearch();
  void setSearching(bool searching);
  Walk walkFolder(const QString& folder, dev_t device);
  Walk listMatches(const QString& folder);

  bool running_ = false;
  int capacity_ = 32767;
};

}  // namespace qalvoro
