// Helpers of bench_window.sh:
//   window_probe first-frame PROGRAM [ARGS...]
//       starts PROGRAM with $ZOREL_REPORT_FIRST_FRAME set and prints the
//       milliseconds from just before exec to its first frame; then ends it
//   window_probe ask REQUEST
//       sends REQUEST to the running zorelcontrol and prints its reply
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "app/window/SingleInstance.h"
#include "editor/LibraryCache.h"

namespace {

long long MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

int FirstFrame(char** argv) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return 1;
  setenv("ZOREL_REPORT_FIRST_FRAME", "1", 1);
  const long long start = MonotonicNs();
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeFds[1], STDERR_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    execvp(argv[0], argv);
    _exit(127);
  }
  close(pipeFds[1]);
  FILE* in = fdopen(pipeFds[0], "r");
  char line[1024];
  long long frame = -1;
  while (frame < 0 && std::fgets(line, sizeof line, in) != nullptr) {
    const char* marker = std::strstr(line, "first frame ");
    if (marker != nullptr) frame = std::atoll(marker + 12);
  }
  kill(child, SIGTERM);
  // The rest of its output is not needed, but it must not block on a full pipe.
  while (std::fgets(line, sizeof line, in) != nullptr) {
  }
  int status = 0;
  waitpid(child, &status, 0);
  std::fclose(in);
  if (frame < 0) {
    std::fprintf(stderr, "no first frame reported\n");
    return 1;
  }
  std::printf("%.1f\n", static_cast<double>(frame - start) / 1e6);
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "first-frame") == 0) return FirstFrame(argv + 2);
  if (argc == 3 && std::strcmp(argv[1], "ask") == 0) {
    const zorel::window::SingleInstance instance(
        zorel::window::SingleInstance::DefaultFolder(zorel::LibraryCache::DefaultRoot()));
    const auto reply = instance.Ask(argv[2], 30000);
    if (!reply) return 1;
    std::fputs(reply->c_str(), stdout);
    return 0;
  }
  std::fprintf(stderr, "usage: %s first-frame PROGRAM [ARGS...] | ask REQUEST\n", argv[0]);
  return 2;
}
