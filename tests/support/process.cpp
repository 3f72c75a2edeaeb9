#include "support/process.h"

#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

extern char** environ;

namespace kadrel::test {

ProcessResult RunProcess(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  ProcessResult r;
  int out[2], err[2];
  if (::pipe(out) != 0) return r;
  if (::pipe(err) != 0) {
    ::close(out[0]), ::close(out[1]);
    return r;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, err[0]);
  auto pointers = [](const std::vector<std::string>& strings) {
    std::vector<char*> p;
    for (const auto& s : strings) p.push_back(const_cast<char*>(s.c_str()));
    p.push_back(nullptr);
    return p;
  };
  std::vector<char*> argv = pointers(args), envp = pointers(env);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), env.empty() ? environ : envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]), ::close(err[1]);
  // Both pipes at once, so that neither fills up while the other is read.
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* sinks[2] = {&r.out, &r.err};
  for (int open = 2; open > 0;) {
    if (::poll(fds, 2, -1) < 0) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<size_t>(n));
      } else {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  if (rc != 0) return r;
  int status = 0;
  ::waitpid(pid, &status, 0);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

ProcessResult RunCli(std::vector<std::string> args, const std::vector<std::string>& env) {
  args.insert(args.begin(), KADREL_CLI_PATH);
  return RunProcess(args, env);
}

ProcessResult RunCliScript(const std::string& home, const std::string& arguments, const std::string& cache,
                           const std::string& input) {
  ::mkdir((home + "run").c_str(), 0700);
  const std::string command = "XDG_CONFIG_HOME='" + home + "config' XDG_CACHE_HOME='" +
                              (cache.empty() ? home + "cache" : cache) + "' XDG_RUNTIME_DIR='" + home +
                              "run' KADREL_CONFIG_DIR='" + home + "kadrel' TMPDIR='" + home + "' exec timeout 120 " +
                              KADREL_CLI_PATH + " " + arguments + " <'" + (input.empty() ? "/dev/null" : input) + "'";
  return RunProcess({"/bin/sh", "-c", command});
}

std::vector<nlohmann::json> JsonLines(const std::string& text) {
  std::vector<nlohmann::json> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] == '{') lines.push_back(nlohmann::json::parse(line));
  return lines;
}

}  // namespace kadrel::test
