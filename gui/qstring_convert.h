// The one crossing between the UTF-8 texts of core/ and dialogs/ and Qt's QString.
#pragma once

#include <QString>
#include <string>

namespace dravella::gui {

inline QString ToQString(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

}  // namespace dravella::gui
