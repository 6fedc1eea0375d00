#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>

namespace zorel::window {

// One ZorelControl per user: a lock (flock) on "ZorelControl.lock" and a
// Unix socket "ZorelControl.socket" beside it, in $XDG_RUNTIME_DIR or,
// without one, in the library folder. The process holding the lock answers
// on the socket: a later start asks it to present its window and exits.
// Needs no session bus. The kernel drops the lock of a process that dies,
// so a stale socket file is replaced by the next start.
//
// Requests and replies are single lines of text ("present", "state"); the
// reply ends when the server closes the connection.
class SingleInstance {
public:
  // The folder of the lock and socket: $XDG_RUNTIME_DIR when it names a
  // folder, otherwise `libraryRoot`.
  static std::string DefaultFolder(const std::string& libraryRoot);

  explicit SingleInstance(std::string folder);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when this process is now the one instance (the lock is ours and
  // the socket listens); false when another holds the lock. `error` says
  // why when neither could be settled (a folder that cannot be written).
  bool Acquire(std::string& error);
  bool IsFirst() const { return mLockFd >= 0; }

  // Answers requests from the main loop: `handler` gets each request line
  // and returns the reply.
  void Serve(std::function<std::string(const std::string& request)> handler);

  // Sends `request` to the running instance and returns its reply, trying
  // for up to `waitMs` while that instance is still starting; nullopt when
  // none answered.
  std::optional<std::string> Ask(const std::string& request, int waitMs) const;

  const std::string& LockPath() const { return mLockPath; }
  const std::string& SocketPath() const { return mSocketPath; }

private:
  struct Client;
  static int OnListen(int fd, unsigned condition, void* self);
  static int OnClientInput(int fd, unsigned condition, void* client);
  void CloseClient(Client* client);

  std::string mLockPath;
  std::string mSocketPath;
  int mLockFd = -1;
  int mListenFd = -1;
  unsigned mListenSource = 0;
  std::function<std::string(const std::string&)> mHandler;
  std::set<Client*> mClients; // connected, request not complete yet
};

} // namespace zorel::window
