// ImageList1: the three 16 x 16 pictures of the input list's entries.
#pragma once

#include <QIcon>
#include <QObject>
#include <QSize>
#include <array>

namespace dravella::gui {

// 1-based indexes, as the entries of the input list refer to them.
enum InputImage : int { kImageWorkbook = 1, kImageFolder = 2, kImageMissing = 3 };

// The icon rule of the input list: an existing file shows the workbook, an
// existing folder the folder, anything else (path kind 0) the question mark.
int InputImageForPathKind(int path_kind);

class ImageList : public QObject {
  Q_OBJECT

 public:
  explicit ImageList(QObject* parent = nullptr);

  static constexpr QSize kImageSize{16, 16};
  int Count() const { return static_cast<int>(images_.size()); }
  // The picture at a 1-based index; a null icon outside 1..Count().
  QIcon Image(int index) const;

 private:
  std::array<QIcon, 3> images_;
};

}  // namespace dravella::gui
