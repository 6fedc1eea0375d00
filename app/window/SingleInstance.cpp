#include "app/window/SingleInstance.h"

#include <glib-unix.h>
#include <glib.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace zorel::window {

namespace {

constexpr const char* kLockName = "ZorelControl.lock";
constexpr const char* kSocketName = "ZorelControl.socket";
// A request is one short line; anything longer is not ours.
constexpr size_t kMaxRequest = 256;
constexpr int kReplyTimeoutSeconds = 2;

bool FillAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

bool IsFolder(const char* path) {
  struct stat st {};
  return path != nullptr && *path != '\0' && ::stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

void WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    // A peer that has gone must not end this process with SIGPIPE.
    const ssize_t n = ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

} // namespace

struct SingleInstance::Client {
  SingleInstance* owner;
  int fd;
  unsigned source = 0;
  std::string request;
};

std::string SingleInstance::DefaultFolder(const std::string& libraryRoot) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return IsFolder(runtime) ? std::string(runtime) : libraryRoot;
}

SingleInstance::SingleInstance(std::string folder)
    : mLockPath(folder + "/" + kLockName), mSocketPath(folder + "/" + kSocketName) {}

SingleInstance::~SingleInstance() {
  while (!mClients.empty()) {
    Client* c = *mClients.begin();
    g_source_remove(c->source);
    CloseClient(c);
  }
  if (mListenSource != 0) g_source_remove(mListenSource);
  if (mListenFd >= 0) {
    ::close(mListenFd);
    ::unlink(mSocketPath.c_str());
  }
  // Closing the file releases the lock.
  if (mLockFd >= 0) ::close(mLockFd);
}

bool SingleInstance::Acquire(std::string& error) {
  error.clear();
  const std::string folder = mLockPath.substr(0, mLockPath.rfind('/'));
  g_mkdir_with_parents(folder.c_str(), 0700);
  const int fd = ::open(mLockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    error = mLockPath + ": " + std::strerror(errno);
    return false;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK) error = mLockPath + ": " + std::strerror(errno);
    ::close(fd);
    return false;
  }
  mLockFd = fd;

  sockaddr_un address{};
  if (!FillAddress(mSocketPath, address)) {
    error = mSocketPath + ": the path is too long for a socket";
    return true; // still the one instance; later starts just cannot reach it
  }
  // Whatever socket file is there belongs to an instance that has gone: the
  // lock was free.
  ::unlink(mSocketPath.c_str());
  mListenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (mListenFd < 0 ||
      ::bind(mListenFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(mListenFd, 8) != 0) {
    error = mSocketPath + ": " + std::strerror(errno);
    if (mListenFd >= 0) ::close(mListenFd);
    mListenFd = -1;
  }
  return true;
}

void SingleInstance::Serve(std::function<std::string(const std::string&)> handler) {
  mHandler = std::move(handler);
  if (mListenFd < 0 || mListenSource != 0) return;
  mListenSource =
      g_unix_fd_add(mListenFd, G_IO_IN, reinterpret_cast<GUnixFDSourceFunc>(&OnListen), this);
}

int SingleInstance::OnListen(int fd, unsigned, void* data) {
  auto* self = static_cast<SingleInstance*>(data);
  for (;;) {
    const int client = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (client < 0) break;
    auto* c = new Client{self, client, 0, {}};
    self->mClients.insert(c);
    c->source = g_unix_fd_add(client, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
                              reinterpret_cast<GUnixFDSourceFunc>(&OnClientInput), c);
  }
  return G_SOURCE_CONTINUE;
}

int SingleInstance::OnClientInput(int fd, unsigned, void* data) {
  auto* c = static_cast<Client*>(data);
  char buffer[128];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      c->request.append(buffer, static_cast<size_t>(n));
      if (c->request.size() > kMaxRequest) break;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (c->request.find('\n') == std::string::npos) return G_SOURCE_CONTINUE;
    }
    break; // end of the request, an error, or a line complete
  }
  std::string reply;
  const size_t end = c->request.find('\n');
  if (end != std::string::npos && c->owner->mHandler) {
    reply = c->owner->mHandler(c->request.substr(0, end));
  }
  // The reply goes out in one blocking write, bounded in time, so a client
  // that stops reading cannot hold the window for long.
  const int flags = ::fcntl(fd, F_GETFL);
  ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  timeval timeout{kReplyTimeoutSeconds, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  WriteAll(fd, reply);
  c->owner->CloseClient(c);
  return G_SOURCE_REMOVE;
}

void SingleInstance::CloseClient(Client* client) {
  mClients.erase(client);
  ::close(client->fd);
  delete client;
}

std::optional<std::string> SingleInstance::Ask(const std::string& request, int waitMs) const {
  sockaddr_un address{};
  if (!FillAddress(mSocketPath, address)) return std::nullopt;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return std::nullopt;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
      WriteAll(fd, request + "\n");
      ::shutdown(fd, SHUT_WR);
      std::string reply;
      char buffer[4096];
      for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::max<long long>(left, 0)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
          ::close(fd);
          return reply;
        }
        reply.append(buffer, static_cast<size_t>(n));
      }
      ::close(fd);
      return std::nullopt;
    }
    ::close(fd);
    // The running instance may not be listening yet.
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

} // namespace zorel::window
