// The smart-home questions every window asks the same way.
#include "services/smart_home_link.h"

#include "i18n/language_table.h"
#include "services/user_prompts.h"

bool ConfirmSmartHomeWipe(QWidget* owner) {
  return AskYesNo(owner,
                  LangText("这将删除所有插座、情景和遥控按键数据，按键文件会先备份。\n确定继续吗？",
                           "This removes every plug, scene and remote key; the key files are backed up "
                           "first.\nContinue?"),
                  LangText("警告", "Warning"));
}
