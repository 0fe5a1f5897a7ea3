// The remote-learning window (template 373): a picture of the machine's remote whose keys start the
// learning of their function, each function's learned code shown by its key, and the key table sent to
// the machine, loaded from and saved to remote files (*.remo). The level-meter poll rests while it is open.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <array>
#include <cstdint>
#include <optional>

class CGdipButton;
class CRemotePicture;
class CRemoteStudyDlg;
class QFrame;
class QLabel;
class SmartHomeLink;

namespace remote_dlg_id {
inline constexpr int dialog = 373;
inline constexpr int apply = 1300;
inline constexpr int loadFile = 1301;
inline constexpr int saveFile = 1302;
inline constexpr int hint = 1303;
inline constexpr int picture = 1304;
inline constexpr int keyName = 1305;  // the function of the key in view (its text changes with the key)
inline constexpr int keyCode = 1306;  // and its learned code
}  // namespace remote_dlg_id

class CRemoteDlg : public QDialog {
  Q_OBJECT
 public:
  CRemoteDlg(SmartHomeLink& link, QWidget* parent);
  ~CRemoteDlg() override;

  // Message 1001: the machine learned a key; the code goes to the open learning dialog.
  void OnKeyLearned(int code);
  void Recaption();
  // The key codes from the store's remote key table.
  void RefreshKeyCodes();

  CRemotePicture* picture() const { return picture_; }
  CRemoteStudyDlg* studyDialog() const { return study_; }

 public slots:
  void done(int result) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OnKeyActivated(int slot);
  void OnApply();
  void OnLoadFile();
  void OnSaveFile();
  bool RequireConnection();
  void RestoreMeterPoll();
  void ShowKeyInfo(int slot);

  SmartHomeLink& link_;
  bool pollWasOn_ = false;
  bool pollRestored_ = false;
  CRemotePicture* picture_;
  QLabel* hint_;
  QLabel* keyName_;
  QLabel* keyCode_;
  int shownKey_ = 0;
  std::optional<std::array<std::uint8_t, 18>> shownTable_;  // what the picture shows
  CGdipButton* apply_;
  CGdipButton* load_;
  CGdipButton* save_;
  QPointer<CRemoteStudyDlg> study_;
  QTimer refresh_;
};
