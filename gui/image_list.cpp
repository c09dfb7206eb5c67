#include "gui/image_list.h"

#include "core/path_kind.h"
#include "gui/icons.h"

namespace dravella::gui {

int InputImageForPathKind(int path_kind) {
  switch (path_kind) {
    case core::kPathFile: return kImageWorkbook;
    case core::kPathFolder: return kImageFolder;
    default: return kImageMissing;
  }
}

ImageList::ImageList(QObject* parent) : QObject(parent) {
  setObjectName(QStringLiteral("ImageList1"));
  images_ = {ProgramIcon(QStringLiteral("list_workbook")), ProgramIcon(QStringLiteral("list_folder")),
             ProgramIcon(QStringLiteral("list_missing"))};
}

QIcon ImageList::Image(int index) const {
  if (index < 1 || index > Count()) return QIcon();
  return images_[static_cast<std::size_t>(index - 1)];
}

}  // namespace dravella::gui
