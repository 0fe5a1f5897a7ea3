// One running copy per user: a lock file, and a local socket through which a later start asks the
// running one to restore and raise its main window.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

class SingleInstanceGuard : public QObject {
  Q_OBJECT
 public:
  enum class Outcome {
    first,           // we hold the lock: go on starting
    activatedOther,  // the running copy raised its window: end quietly
    noWindow,  // a copy runs but nothing answers: "已有一个实例在运行，但找不到它的主窗口！"
    failed,  // the lock cannot be created: "创建信标对象失败，程序退出！"
  };

  // `directory` holds the lock file and the socket; by default the user's runtime folder.
  explicit SingleInstanceGuard(QString directory = DefaultDirectory(), QObject* parent = nullptr);
  ~SingleInstanceGuard() override;

  Outcome Acquire();
  // Starts answering later starts; called once the main window exists.
  bool Listen();
  bool listening() const;

  QString socketPath() const;
  static QString DefaultDirectory();
  // The client side alone (usable from any thread): asks the running copy to activate itself.
  static bool AskRunningInstanceToActivate(const QString& socketPath, int timeoutMs);

 signals:
  void activationRequested();

 private:
  void OnNewConnection();

  QString directory_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer* server_ = nullptr;
};
