// The remote-control window: the server's switch, where it listens, the address and QR code a phone
// opens, a new token, and who is connected now.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include "services/remote_control_service.h"

class AppServices;
class CQrCodeView;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

// The addresses a phone opens, one a bound address: "http://HOST:PORT/?token=TOKEN". An address that
// listens on every interface ("0.0.0.0", "::") is shown as `lanV4` or `lanV6` (loopback without one).
QStringList RemotePhoneUrls(const QList<RemoteEndpoint>& bound, const QString& token, const QString& lanV4,
                            const QString& lanV6);
// The one of `urls` for the QR code: the first a phone can reach, else the first.
QString RemotePhoneUrl(const QStringList& urls);
// The bridge's state in one line of the window's language.
QString MqttStatusLine(const MqttLinkStatus& status);
// This computer's first address on a network, of IPv4 or IPv6; empty when it has none.
QString LanAddress(bool ipv6);

class CRemoteControlDlg : public QDialog {
  Q_OBJECT
 public:
  CRemoteControlDlg(AppServices& app, QWidget* parent);

  QCheckBox* onSwitch() const { return on_; }
  QLineEdit* listenEdit() const { return listen_; }
  QCheckBox* allowPhones() const { return allowPhones_; }
  QLabel* urlLabel() const { return url_; }
  QLabel* problemLabel() const { return problem_; }
  CQrCodeView* qrView() const { return qr_; }
  QPushButton* copyButton() const { return copy_; }
  QPushButton* newTokenButton() const { return newToken_; }
  QTreeWidget* clientList() const { return clients_; }
  QCheckBox* mqttSwitch() const { return mqttOn_; }
  QLineEdit* mqttHostEdit() const { return mqttHost_; }
  QSpinBox* mqttPortBox() const { return mqttPort_; }
  QLineEdit* mqttUserEdit() const { return mqttUser_; }
  QLineEdit* mqttPasswordEdit() const { return mqttPassword_; }
  QCheckBox* mqttTlsBox() const { return mqttTls_; }
  QLineEdit* mqttCaEdit() const { return mqttCa_; }
  QLineEdit* mqttNameEdit() const { return mqttName_; }
  QLabel* mqttStatusLabel() const { return mqttStatus_; }

 private:
  void Refresh();
  void FillClients();
  void OnSwitchClicked(bool on);
  void ApplyListenText();
  void OnAllowPhonesClicked(bool allow);
  void SetListen(const QStringList& addresses);
  void AskNewToken();
  QWidget* BuildMqttSection();
  void LoadMqttFields();
  void RefreshMqtt();
  MqttLinkSettings MqttFields() const;
  // Keeps the fields when they changed; a refusal stays in red until they are corrected.
  bool ApplyMqttFields();
  void OnMqttSwitchClicked(bool on);
  void BrowseCaFile();

  RemoteControlService& remote_;
  QString addressProblem_;  // the address line's own refusal, until it is corrected
  QString phoneUrl_;
  QCheckBox* on_;
  QLabel* problem_;
  QLineEdit* listen_;
  QCheckBox* allowPhones_;
  QLabel* url_;
  QLabel* reach_;
  QLabel* scan_;
  CQrCodeView* qr_;
  QPushButton* copy_;
  QPushButton* newToken_;
  QTreeWidget* clients_;
  QString mqttProblem_;
  QCheckBox* mqttOn_;
  QLineEdit* mqttHost_;
  QSpinBox* mqttPort_;
  QLineEdit* mqttUser_;
  QLineEdit* mqttPassword_;
  QCheckBox* mqttTls_;
  QLineEdit* mqttCa_;
  QPushButton* mqttBrowse_;
  QLineEdit* mqttName_;
  QLabel* mqttStatus_;
};
