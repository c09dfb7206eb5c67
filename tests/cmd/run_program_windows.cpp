#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "engine/platform/file_system.h"
#include "engine/platform/wide_text.h"
#include "tests/cmd/run_program.h"

namespace dravella::testing {
namespace {

namespace fs = std::filesystem;

// A file the child may write into: its handle is inherited.
HANDLE InheritableFile(const fs::path& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                     FILE_ATTRIBUTE_TEMPORARY, nullptr);
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

// The command line is written as a person types it: an argument with a blank
// goes in double quotes, nothing else is escaped. Output goes through files,
// which cannot fill up and stall the child as pipes can.
std::string WithoutCarriageReturns(std::string text) {
  std::string lines;
  for (size_t at = 0; at < text.size(); ++at) {
    if (!(text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')) lines += text[at];
  }
  return lines;
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args) {
  std::string executable = program;
  std::replace(executable.begin(), executable.end(), '/', '\\');
  if (executable.starts_with("\\")) executable = "Z:" + executable;  // a Linux path under Wine
  std::string line = "\"" + executable + "\"";
  for (const std::string& a : args) {
    line += ' ';
    line += a.find(' ') == std::string::npos ? a : "\"" + a + "\"";
  }

  const fs::path folder = fs::temp_directory_path() /
                          ("dravella-run-" + std::to_string(std::random_device{}()));
  fs::create_directories(folder);
  ProgramRun run;
  const HANDLE in = InheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
  const HANDLE out = InheritableFile(folder / "out", GENERIC_WRITE, CREATE_ALWAYS);
  const HANDLE err = InheritableFile(folder / "err", GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  std::wstring wide_line = platform::WideFromUtf8(line);
  if (CreateProcessW(nullptr, wide_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    run.exit_status = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  for (HANDLE h : {in, out, err}) CloseHandle(h);
  // Text written on Windows ends its lines with CR LF; the cases compare
  // lines, as on the other systems.
  run.out = WithoutCarriageReturns(ReadAll(folder / "out"));
  run.err = WithoutCarriageReturns(ReadAll(folder / "err"));
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return run;
}

}  // namespace dravella::testing
