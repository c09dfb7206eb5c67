#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>

#include "tests/cmd/run_program.h"

extern char** environ;

namespace dravella::testing {
namespace {

std::string ReadAll(int fd) {
  std::string text;
  std::array<char, 4096> buffer;
  for (ssize_t n; (n = read(fd, buffer.data(), buffer.size())) > 0;) text.append(buffer.data(), n);
  return text;
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  int out_pipe[2], err_pipe[2];
  ProgramRun run;
  if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err_pipe[1], 2);
  posix_spawn_file_actions_addclose(&actions, out_pipe[0]);
  posix_spawn_file_actions_addclose(&actions, err_pipe[0]);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out_pipe[1]);
  close(err_pipe[1]);
  if (rc == 0) {
    run.out = ReadAll(out_pipe[0]);  // small outputs: reading one pipe after the other is safe
    run.err = ReadAll(err_pipe[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    run.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  close(out_pipe[0]);
  close(err_pipe[0]);
  return run;
}

}  // namespace dravella::testing
