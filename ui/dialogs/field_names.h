// Store fields as a user reads them: "CH4 delay" / "通道4 延时" rather than "chDelay[3]".
#pragma once

#include <QString>
#include <string_view>

// The field's name in the language (0 Chinese, 1 English), with the channel or microphone input that
// `element` stands for; an unknown name is shown as it is, with its index.
QString FieldDisplayName(std::string_view name, int element, int languageIndex);
