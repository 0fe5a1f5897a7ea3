// Reading a mode file into the store from the interface, with the messages the user sees.
#pragma once

#include <QString>

#include "model/mode_file.h"

class QWidget;

// False (after "文件不存在！" / "文件打开错误" when it is missing) unless `path` names an existing file
// whose extension is "noveq" in any case. Another extension is ignored silently.
bool CheckModeFilePath(const QString& path);

// Reads the file into the store. On failure shows the open-failure box (when the file could not be
// opened) and then the reason ("Mode file version not support!", a file shorter than its version, not a
// mode file) captioned "Info", and returns false; the store is unchanged.
bool LoadModeFileIntoStore(vireo::ParameterStore& store, const QString& path, QWidget* owner);

// The messages of a failed read (the open-failure box when the file could not be opened, then the
// reason) and of a failed write.
void ShowModeFileReadFailure(const vireo::ModeFileResult& result, const QString& path, QWidget* owner);
void ShowModeFileWriteFailure(const vireo::ModeFileResult& result, const QString& path, QWidget* owner);

// The boxes every file of the program shows (mode and remote files alike): a file that could not be
// opened, and a write that failed with the system's error number.
void ShowFileOpenFailure(const QString& path, QWidget* owner);
void ShowFileWriteFailure(int errorCode, const QString& path, QWidget* owner);
