// The crossings between the texts of core/ and dialogs/ and Qt's QString:
// texts are UTF-8; paths are the file system's bytes, which need not be.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

namespace dravella::gui {

inline QString ToQString(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

// A path for display. Bytes that are no text in the file system's encoding
// cannot be shown as they are, so the shown text is no way back to the file:
// keep the bytes beside it.
inline QString PathToQString(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}
// A path typed or chosen in Qt, as the file system's bytes.
inline std::string PathFromQString(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

}  // namespace dravella::gui
