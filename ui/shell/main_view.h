// The main view: the page area with the one page shown, the machine connection logic, the tray balloon.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "pages/page.h"

class AppServices;
class CConnectionController;
class CTrayBalloon;

inline constexpr int kPageAreaMinWidth = 1024;
inline constexpr int kPageAreaMinHeight = 520;

class CKestrelv13View : public QWidget {
  Q_OBJECT
 public:
  CKestrelv13View(AppServices& app, QWidget* parent);
  ~CKestrelv13View() override;

  // Destroys the current page and shows a new one of `kind` over the page area.
  void ShowPage(PageKind kind);
  CPage* currentPage() const { return page_; }
  // (0, 0) to (max(width, 1024), max(height, 520)).
  QRect pageArea() const;

  CConnectionController& connectionController() { return *connection_; }
  CTrayBalloon& tray() { return *tray_; }
  void ShowTrayBalloon(const QString& text, const QString& title, int durationMs);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  AppServices& app_;
  QPointer<CPage> page_;
  std::unique_ptr<CTrayBalloon> tray_;
  std::unique_ptr<CConnectionController> connection_;
};
