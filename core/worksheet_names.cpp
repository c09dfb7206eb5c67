#include "core/worksheet_names.h"

#include <exception>
#include <memory>

namespace dravella::core {
namespace {

void CloseQuietly(engine::Workbook& workbook) noexcept {
  try {
    workbook.Close();
  } catch (...) {
  }
}

void QuitQuietly(engine::Application& application) noexcept {
  try {
    application.Quit();
  } catch (...) {
  }
}

}  // namespace

void ReadWorksheetNames(engine::ApplicationFactory& factory, const std::string& path,
                        const std::function<void(int32_t number, const std::string& name)>& on_name) {
  std::shared_ptr<engine::Application> application = factory.CreateObject(engine::kApplicationClass);
  std::shared_ptr<engine::Workbook> workbook;
  try {
    workbook = application->WorkbooksOpen(path);
    application->SetDisplayAlerts(false);
    const int32_t count = workbook->WorksheetsCount();
    for (int32_t number = 1; number <= count; ++number) {
      on_name(number, workbook->Worksheets(number)->Name());
    }
  } catch (...) {
    if (workbook) CloseQuietly(*workbook);
    QuitQuietly(*application);
    throw;
  }
  try {
    workbook->Close();
  } catch (...) {
    QuitQuietly(*application);
    throw;
  }
  application->Quit();
}

}  // namespace dravella::core
