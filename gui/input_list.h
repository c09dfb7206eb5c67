// The entries of form1's input and workbook lists: each stands for a path
// or a file name, kept as the file system's bytes beside the text shown, so
// a name that is not UTF-8 still reaches the file it names.
#pragma once

#include <QTreeWidgetItem>
#include <string>

class QTreeWidget;

namespace dravella::gui {

// The item data role that holds an entry's path bytes.
inline constexpr int kPathRole = Qt::UserRole;

// A new entry showing path (decoded for display) and keeping its bytes.
QTreeWidgetItem* NewPathEntry(const std::string& path);
// The bytes an entry stands for (its text's, when it was made without
// them); the empty text for null.
std::string PathOfEntry(const QTreeWidgetItem* entry);

// Moves the current entry by one place (-1 up, +1 down); it keeps its text,
// picture and path and stays current.
void MoveCurrentEntry(QTreeWidget& list, int step);

}  // namespace dravella::gui
