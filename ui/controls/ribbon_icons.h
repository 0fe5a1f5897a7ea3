// The pictures of the ribbon, the tray and the About dialog, drawn from geometry.
#pragma once

#include <QIcon>

enum class RibbonPicture {
  application,
  openFile,
  saveFile,
  loadMode,
  saveMode,
  exit,
  about,
  undo,
  redo,
  phone
};

QIcon RibbonIcon(RibbonPicture picture);
