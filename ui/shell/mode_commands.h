// Mode files and mode slots from the interface: the dialogs, questions and notices around the core's
// operations, and the question about saving before exit.
#pragma once

#include <QString>

class AppServices;
class QWidget;

inline constexpr int kSavingNoticeMs = 2500;
inline constexpr int kSaveKeyWaitMs = 1500;

class CModeCommands {
 public:
  explicit CModeCommands(AppServices& app);

  // Ribbon and menu commands. Without a machine: "请先连接设备!" / "Please connect device!".
  void LoadFile();
  void SaveFile();
  // Slot commands; `fromKey` for F1..F4 (their own wording, and the wait after storing).
  void LoadSlot(int slot, bool fromKey);
  void StoreSlot(int slot, bool fromKey);
  void RestoreFactorySlot(int slot);
  // The close question when the parameters changed; false when the user cancelled the close.
  bool AskSaveBeforeExit();

 private:
  bool RequireConnection();
  QString ChooseSaveFile(const QString& defaultName);
  void WaitOnInterface(int ms);

  AppServices& app_;
};
