#include "core/worksheet_names.h"

#include <exception>
#include <memory>

#include "core/quiet_cleanup.h"

namespace dravella::core {

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
    CloseQuietly(workbook.get());
    QuitQuietly(application.get());
    throw;
  }
  try {
    workbook->Close();
  } catch (...) {
    QuitQuietly(application.get());
    throw;
  }
  application->Quit();
}

}  // namespace dravella::core
