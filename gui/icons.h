// The program's pictures, drawn from its own SVG artwork at every size they
// are shown at, so that no size is a blurred scaling of another.
#pragma once

#include <QIcon>
#include <QString>

namespace dravella::gui {

// name is the stem of a picture in the ":/icons" resource (e.g. "dbf_table").
QIcon ProgramIcon(const QString& name);

}  // namespace dravella::gui
