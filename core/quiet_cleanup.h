// Closing a workbook and quitting the application on a path that is already
// failing: a second error there must not replace the first one.
#pragma once

#include "engine/object_model.h"

namespace dravella::core {

inline void CloseQuietly(engine::Workbook* workbook) noexcept {
  if (workbook == nullptr) return;
  try {
    workbook->Close();
  } catch (...) {
  }
}

inline void QuitQuietly(engine::Application* application) noexcept {
  if (application == nullptr) return;
  try {
    application->Quit();
  } catch (...) {
  }
}

}  // namespace dravella::core
