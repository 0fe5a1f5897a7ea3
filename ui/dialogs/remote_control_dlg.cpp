// The remote-control window.
#include "dialogs/remote_control_dlg.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTreeWidget>
#include <QUrl>

#include "controls/qr_code.h"
#include "i18n/language_table.h"
#include "look/dialog_look.h"
#include "remote/remote_server.h"
#include "services/app_services.h"
#include "services/user_prompts.h"

namespace {

const QColor kProblemColour(200, 30, 30);
const QColor kHintColour(90, 100, 115);

bool ListensEverywhere(const QString& host) {
  return host == QLatin1String("0.0.0.0") || host == QLatin1String("::");
}

bool IsLoopback(const QString& host) {
  const QHostAddress address(host);
  return !address.isNull() && address.isLoopback();
}

QString HostInUrl(const QString& host) {
  return host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
}

void PaintText(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

QLabel* HintLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, kHintColour);
  label->setPalette(palette);
  return label;
}

QString Caption() {
  return LangText("远程控制", "Remote control");
}

}  // namespace

QStringList RemotePhoneUrls(const QList<RemoteEndpoint>& bound, const QString& token, const QString& lanV4,
                            const QString& lanV6) {
  QStringList urls;
  for (const RemoteEndpoint& e : bound) {
    QString host = e.host;
    if (host == QLatin1String("0.0.0.0")) host = lanV4.isEmpty() ? QStringLiteral("127.0.0.1") : lanV4;
    if (host == QLatin1String("::")) host = lanV6.isEmpty() ? QStringLiteral("::1") : lanV6;
    urls << QStringLiteral("http://%1:%2/?token=%3").arg(HostInUrl(host)).arg(e.port).arg(token);
  }
  urls.removeDuplicates();
  return urls;
}

QString RemotePhoneUrl(const QStringList& urls) {
  for (const QString& url : urls) {
    const QString host = QUrl(url).host();
    if (!IsLoopback(host)) return url;
  }
  return urls.isEmpty() ? QString() : urls.first();
}

QString MqttStatusLine(const MqttLinkStatus& status) {
  const QString name = status.machineId;
  switch (status.state) {
    case MqttLinkState::off:
      return status.lastError.isEmpty()
                 ? LangText("未连接。", "Not connected.")
                 : LangText("无法连接：", "Cannot connect: ") + status.lastError;
    case MqttLinkState::naming:
      return LangText("等待机器报告型号，以确定机器名称…", "Waiting for the machine's model to name it…");
    case MqttLinkState::connecting:
      return LangText("正在连接 %1…", "Connecting to %1…").arg(status.broker);
    case MqttLinkState::connected:
      return LangText("已连接 %1，机器名称 %2。", "Connected to %1 as %2.").arg(status.broker, name);
    case MqttLinkState::reconnecting:
      return LangText("%1 无法连接（%2），稍后重试。", "%1 cannot be reached (%2); trying again shortly.")
          .arg(status.broker, status.lastError);
  }
  return {};
}

QString LanAddress(bool ipv6) {
  for (const QHostAddress& a : QNetworkInterface::allAddresses()) {
    if (a.isLoopback() || a.isLinkLocal()) continue;
    if (ipv6 ? a.protocol() == QAbstractSocket::IPv6Protocol : a.protocol() == QAbstractSocket::IPv4Protocol)
      return a.toString();
  }
  return {};
}

CRemoteControlDlg::CRemoteControlDlg(AppServices& app, QWidget* parent)
    : QDialog(parent),
      remote_(app.remote()),
      on_(new QCheckBox(LangText("开启远程控制(&R)", "&Remote control on"), this)),
      problem_(new QLabel(this)),
      listen_(new QLineEdit(this)),
      allowPhones_(
          new QCheckBox(LangText("允许本网络中的手机连接(&P)", "Allow &phones on this network"), this)),
      url_(new QLabel(this)),
      reach_(HintLabel(QString(), this)),
      scan_(HintLabel(LangText("用手机相机扫描", "Scan with the phone's camera"), this)),
      qr_(new CQrCodeView(this)),
      copy_(new QPushButton(LangText("复制地址(&C)", "&Copy address"), this)),
      newToken_(new QPushButton(LangText("新令牌(&N)", "&New token"), this)),
      clients_(new QTreeWidget(this)),
      mqttOn_(new QCheckBox(LangText("连接到 MQTT 服务器(&M)", "Connect to an &MQTT broker"), this)),
      mqttHost_(new QLineEdit(this)),
      mqttPort_(new QSpinBox(this)),
      mqttUser_(new QLineEdit(this)),
      mqttPassword_(new QLineEdit(this)),
      mqttTls_(new QCheckBox(LangText("加密(TLS)(&T)", "Use &TLS"), this)),
      mqttCa_(new QLineEdit(this)),
      mqttBrowse_(new QPushButton(LangText("浏览(&W)…", "Bro&wse…"), this)),
      mqttName_(new QLineEdit(this)),
      mqttStatus_(new QLabel(this)) {
  setWindowTitle(Caption());
  ApplyDialogBackground(this);

  auto* about = HintLabel(
      LangText(
          "开启后，同一网络中的手机或脚本可以用下面的地址调节机器。地址中的令牌就是钥匙：只分享给信任的人。",
          "When it is on, a phone or a script can tune the machine through the address "
          "below. The token in it is the key: share it only with people you trust."),
      this);
  problem_->setWordWrap(true);
  problem_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QPalette red = problem_->palette();
  red.setColor(QPalette::WindowText, kProblemColour);
  problem_->setPalette(red);
  problem_->hide();

  auto* listenLabel = new QLabel(LangText("监听地址(&L):", "&Listen on:"), this);
  listenLabel->setBuddy(listen_);
  listen_->setPlaceholderText(QString::fromLatin1(kDefaultRemoteListen));
  listen_->setToolTip(LangText("一个或多个地址，用逗号分隔，例如 127.0.0.1:8719 或 0.0.0.0:8719",
                               "One or more addresses, separated by commas: 127.0.0.1:8719, 0.0.0.0:8719"));
  listen_->setMinimumWidth(240);

  auto* urlHeading = new QLabel(LangText("手机打开的地址:", "Address for the phone:"), this);
  url_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  url_->setAccessibleName(LangText("手机打开的地址", "Address for the phone"));
  url_->setMinimumWidth(440);
  qr_->setFixedSize(qr_->sizeHint());
  qr_->setAccessibleName(LangText("地址的二维码", "QR code of the address"));
  qr_->SetPlaceholder(LangText("远程控制未开启", "Remote control is off"));
  scan_->setAlignment(Qt::AlignHCenter);

  auto* clientsHeading = new QLabel(LangText("已连接(&O):", "C&onnected now:"), this);
  clientsHeading->setBuddy(clients_);
  clients_->setHeaderLabels({LangText("地址", "Address"), LangText("连接时间", "Since")});
  clients_->setRootIsDecorated(false);
  clients_->setUniformRowHeights(true);
  clients_->setSelectionMode(QAbstractItemView::NoSelection);
  clients_->header()->setStretchLastSection(true);
  clients_->setColumnWidth(0, 260);
  clients_->setMinimumHeight(110);

  auto* close = new QPushButton(LangText("关闭", "Close"), this);
  // Return in the address line applies the address; it must not press a button as well.
  for (QPushButton* button : {copy_, newToken_, mqttBrowse_, close}) button->setAutoDefault(false);
  QWidget* mqtt = BuildMqttSection();

  auto* listenRow = new QHBoxLayout;
  listenRow->addWidget(listenLabel);
  listenRow->addWidget(listen_, 1);
  auto* urlButtons = new QHBoxLayout;
  urlButtons->addWidget(copy_);
  urlButtons->addWidget(newToken_);
  urlButtons->addStretch(1);
  auto* left = new QVBoxLayout;
  left->addWidget(on_);
  left->addWidget(about);
  left->addWidget(problem_);
  left->addSpacing(6);
  left->addLayout(listenRow);
  left->addWidget(allowPhones_);
  left->addSpacing(6);
  left->addWidget(urlHeading);
  left->addWidget(url_);
  left->addWidget(reach_);
  left->addLayout(urlButtons);
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(qr_, 0, Qt::AlignHCenter);
  right->addWidget(scan_);
  right->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addLayout(left, 1);
  top->addSpacing(12);
  top->addLayout(right);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(4);
  layout->addWidget(clientsHeading);
  layout->addWidget(clients_, 1);
  layout->addSpacing(6);
  layout->addWidget(mqtt);
  layout->addLayout(bottom);

  setTabOrder(on_, listen_);
  setTabOrder(listen_, allowPhones_);
  setTabOrder(allowPhones_, url_);
  setTabOrder(url_, copy_);
  setTabOrder(copy_, newToken_);
  setTabOrder(newToken_, clients_);
  setTabOrder(clients_, mqttOn_);
  QWidget* previous = mqttOn_;
  for (QWidget* next : std::initializer_list<QWidget*>{mqttHost_, mqttPort_, mqttUser_, mqttPassword_, mqttTls_,
                                                      mqttCa_, mqttBrowse_, mqttName_, close}) {
    setTabOrder(previous, next);
    previous = next;
  }

  connect(on_, &QCheckBox::clicked, this, &CRemoteControlDlg::OnSwitchClicked);
  connect(listen_, &QLineEdit::editingFinished, this, &CRemoteControlDlg::ApplyListenText);
  connect(allowPhones_, &QCheckBox::clicked, this, &CRemoteControlDlg::OnAllowPhonesClicked);
  connect(copy_, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(phoneUrl_); });
  connect(newToken_, &QPushButton::clicked, this, &CRemoteControlDlg::AskNewToken);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(&remote_, &RemoteControlService::stateChanged, this, &CRemoteControlDlg::Refresh);
  connect(&remote_, &RemoteControlService::clientsChanged, this, &CRemoteControlDlg::FillClients);
  connect(&remote_, &RemoteControlService::mqttChanged, this, &CRemoteControlDlg::RefreshMqtt);
  Refresh();
  LoadMqttFields();
  RefreshMqtt();
  // Room for a few clients; the list takes what the user adds by enlarging the window.
  resize(sizeHint().width(), minimumSizeHint().height() + 24);
  on_->setFocus();
}

void CRemoteControlDlg::Refresh() {
  const bool running = remote_.running();
  {
    const QSignalBlocker block(on_);
    on_->setChecked(running);
  }
  // The server's reason is in English, as in its log; the lead says what failed in the window's language.
  const QString problem =
      !addressProblem_.isEmpty() ? addressProblem_
      : remote_.problem().isEmpty()
          ? QString()
          : LangText("无法开启远程控制：", "Remote control cannot start: ") + remote_.problem();
  problem_->setText(problem);
  problem_->setVisible(!problem.isEmpty());

  const QStringList listen = remote_.listenAddresses();
  // A refused address stays in the line for the user to correct.
  if (addressProblem_.isEmpty()) listen_->setText(listen.join(QStringLiteral(", ")));
  bool everywhere = false;
  for (const QString& text : listen) {
    vireo::remote::ListenAddress address;
    std::string ignored;
    if (vireo::remote::ParseListenAddress(text.toStdString(), &address, &ignored))
      everywhere = everywhere || ListensEverywhere(QString::fromStdString(address.host));
  }
  {
    const QSignalBlocker block(allowPhones_);
    allowPhones_->setChecked(everywhere);
  }

  QStringList urls;
  if (running)
    urls = RemotePhoneUrls(remote_.boundAddresses(), remote_.token(), LanAddress(false), LanAddress(true));
  phoneUrl_ = RemotePhoneUrl(urls);
  qr_->SetText(phoneUrl_);
  copy_->setEnabled(!phoneUrl_.isEmpty());
  if (urls.isEmpty()) {
    url_->setText(LangText("开启远程控制后，这里显示地址。", "Switch remote control on to get the address."));
    reach_->clear();
    reach_->hide();
    scan_->hide();
  } else {
    url_->setText(urls.join(QLatin1Char('\n')));
    reach_->setText(IsLoopback(QUrl(phoneUrl_).host())
                        ? LangText("只有这台电脑能打开这个地址。要用手机，请勾选“允许本网络中的手机连接”。",
                                   "Only this computer can open this address. For a phone, allow phones on "
                                   "this network.")
                        : LangText("手机须连接到同一网络。", "The phone must be on the same network."));
    reach_->show();
    scan_->show();
  }
  FillClients();
}

void CRemoteControlDlg::FillClients() {
  clients_->clear();
  const QDate today = QDate::currentDate();
  for (const RemoteClientEntry& client : remote_.clients()) {
    const QDateTime since = client.since.toLocalTime();
    const QString when = since.date() == today ? since.toString(QStringLiteral("HH:mm:ss"))
                                               : since.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    new QTreeWidgetItem(clients_, {client.address, when});
  }
}

void CRemoteControlDlg::OnSwitchClicked(bool on) {
  if (on) {
    remote_.Start();  // a failure comes back through Refresh(): the switch off, the reason in red
  } else {
    remote_.Stop();
  }
  Refresh();
}

void CRemoteControlDlg::ApplyListenText() {
  QStringList addresses =
      listen_->text().split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts);
  if (addresses.isEmpty()) addresses << QString::fromLatin1(kDefaultRemoteListen);
  if (addresses == remote_.listenAddresses() && addressProblem_.isEmpty()) return;
  SetListen(addresses);
}

void CRemoteControlDlg::OnAllowPhonesClicked(bool allow) {
  int port = vireo::remote::kDefaultPort;
  const QStringList listen = remote_.listenAddresses();
  vireo::remote::ListenAddress first;
  std::string ignored;
  if (!listen.isEmpty() && vireo::remote::ParseListenAddress(listen.first().toStdString(), &first, &ignored))
    port = first.port;
  SetListen({QStringLiteral("%1:%2").arg(allow ? "0.0.0.0" : "127.0.0.1").arg(port)});
}

void CRemoteControlDlg::SetListen(const QStringList& addresses) {
  QString problem;
  addressProblem_.clear();
  if (!remote_.SetListenAddresses(addresses, &problem))
    addressProblem_ = LangText("监听地址有误：", "Listen on: ") + problem;
  Refresh();
}

void CRemoteControlDlg::AskNewToken() {
  if (!AskYesNo(
          this,
          LangText(
              "新令牌会改变地址和二维码，持有旧令牌的手机和脚本需要重新扫描或读取。\n\n确定要生成新令牌吗？",
              "A new token changes the address and the QR code: phones and scripts holding the "
              "old one must scan or read it again.\n\nMake a new token?"),
          Caption()))
    return;
  remote_.NewToken();
  Refresh();
}

QWidget* CRemoteControlDlg::BuildMqttSection() {
  auto* box = new QGroupBox(LangText("家庭自动化 (MQTT)", "Home automation (MQTT)"), this);
  auto* about = HintLabel(LangText("开启后，机器会出现在 Home Assistant 等家庭自动化系统中，并接受它们的命令。",
                                   "When it is on, the machine appears in Home Assistant and other home "
                                   "automation systems on the broker, and takes their commands."),
                          box);
  mqttHost_->setPlaceholderText(LangText("例如 192.168.1.2 或 broker.local", "e.g. 192.168.1.2 or broker.local"));
  mqttPort_->setRange(1, 65535);
  mqttPort_->setAccelerated(true);
  mqttPassword_->setEchoMode(QLineEdit::Password);
  mqttCa_->setPlaceholderText(LangText("系统的证书颁发机构", "the system's certificate authorities"));
  mqttName_->setPlaceholderText(LangText("由型号和本机名称生成", "from the model and this computer's name"));
  mqttName_->setToolTip(LangText("主题 vireo/<名称>/…；1 到 64 个 a-z、0-9、- 和 _",
                                 "Topics vireo/<name>/…; 1 to 64 of a-z, 0-9, - and _"));
  mqttName_->setMaxLength(64);
  mqttStatus_->setWordWrap(true);
  mqttStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto label = [box](const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text, box);
    l->setBuddy(buddy);
    return l;
  };
  auto* grid = new QGridLayout;
  grid->addWidget(label(LangText("服务器(&B):", "&Broker:"), mqttHost_), 0, 0);
  grid->addWidget(mqttHost_, 0, 1);
  grid->addWidget(label(LangText("端口:", "Port:"), mqttPort_), 0, 2);
  grid->addWidget(mqttPort_, 0, 3);
  grid->addWidget(label(LangText("用户(&U):", "&User:"), mqttUser_), 1, 0);
  grid->addWidget(mqttUser_, 1, 1);
  grid->addWidget(label(LangText("密码:", "Password:"), mqttPassword_), 1, 2);
  grid->addWidget(mqttPassword_, 1, 3);
  auto* caRow = new QHBoxLayout;
  caRow->addWidget(mqttCa_, 1);
  caRow->addWidget(mqttBrowse_);
  grid->addWidget(mqttTls_, 2, 0);
  grid->addWidget(label(LangText("CA 文件:", "CA file:"), mqttCa_), 2, 2);
  grid->addLayout(caRow, 2, 3);
  grid->addWidget(label(LangText("机器名称(&A):", "M&achine name:"), mqttName_), 3, 0);
  grid->addWidget(mqttName_, 3, 1);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(mqttOn_);
  layout->addWidget(about);
  layout->addLayout(grid);
  layout->addWidget(mqttStatus_);

  for (QLineEdit* edit : {mqttHost_, mqttUser_, mqttPassword_, mqttCa_, mqttName_})
    connect(edit, &QLineEdit::editingFinished, this, [this] { ApplyMqttFields(); });
  connect(mqttPort_, &QSpinBox::editingFinished, this, [this] { ApplyMqttFields(); });
  connect(mqttTls_, &QCheckBox::clicked, this, [this] { ApplyMqttFields(); });
  connect(mqttOn_, &QCheckBox::clicked, this, &CRemoteControlDlg::OnMqttSwitchClicked);
  connect(mqttBrowse_, &QPushButton::clicked, this, &CRemoteControlDlg::BrowseCaFile);
  return box;
}

MqttLinkSettings CRemoteControlDlg::MqttFields() const {
  MqttLinkSettings s;
  s.host = mqttHost_->text().trimmed();
  s.port = mqttPort_->value();
  s.user = mqttUser_->text();
  s.password = mqttPassword_->text();
  s.tls = mqttTls_->isChecked();
  s.caFile = mqttCa_->text().trimmed();
  s.machineId = mqttName_->text().trimmed();
  return s;
}

bool CRemoteControlDlg::ApplyMqttFields() {
  const MqttLinkSettings fields = MqttFields();
  if (fields == remote_.mqttSettings() && mqttProblem_.isEmpty()) return true;
  QString problem;
  mqttProblem_.clear();
  const bool kept = remote_.SetMqttSettings(fields, &problem);
  if (!kept) mqttProblem_ = problem;
  RefreshMqtt();
  return kept;
}

void CRemoteControlDlg::OnMqttSwitchClicked(bool on) {
  if (!on) {
    remote_.StopMqtt();
  } else if (ApplyMqttFields()) {
    QString problem;
    if (!remote_.StartMqtt(&problem)) mqttProblem_ = problem;
  }
  RefreshMqtt();
}

void CRemoteControlDlg::BrowseCaFile() {
  FileDialogRequest request;
  request.filter = LangText("证书 (*.pem *.crt);;所有文件 (*)", "Certificates (*.pem *.crt);;All files (*)");
  const QString path = Prompts().ChooseFile(this, request);
  if (path.isEmpty()) return;
  mqttCa_->setText(path);
  if (!mqttTls_->isChecked()) mqttTls_->setChecked(true);
  ApplyMqttFields();
}

void CRemoteControlDlg::LoadMqttFields() {
  const MqttLinkSettings s = remote_.mqttSettings();
  mqttHost_->setText(s.host);
  mqttPort_->setValue(s.port);
  mqttUser_->setText(s.user);
  mqttPassword_->setText(s.password);
  mqttTls_->setChecked(s.tls);
  mqttCa_->setText(s.caFile);
  mqttName_->setText(s.machineId);
}

// Only the switch and the status follow the bridge: the fields are the user's while the window is open
// (a refused one stays as typed for correction, and a status change must not undo typing).
void CRemoteControlDlg::RefreshMqtt() {
  const bool on = remote_.mqttOn();
  {
    const QSignalBlocker block(mqttOn_);
    mqttOn_->setChecked(on);
  }
  const MqttLinkStatus status = remote_.mqttStatus();
  const bool trouble = !mqttProblem_.isEmpty() || status.state == MqttLinkState::reconnecting ||
                       (status.state == MqttLinkState::off && !status.lastError.isEmpty());
  mqttStatus_->setText(!mqttProblem_.isEmpty() ? LangText("MQTT 设置有误：", "MQTT: ") + mqttProblem_
                                               : MqttStatusLine(status));
  PaintText(mqttStatus_, trouble ? kProblemColour : kHintColour);
}
