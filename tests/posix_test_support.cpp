#include "posix_test_support.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>

namespace velunorh::test {

namespace {

constexpr int kSetUpFailed = 2;
constexpr int kThrew = 3;

// Forks; the child runs `prepare` (false = it could not set itself up), then `body`, sends the
// text through a pipe and ends with the verdict as its exit code.
ChildResult RunInChild(const std::function<bool()>& prepare, const ChildBody& body,
                       unsigned seconds = 120) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) {
    ADD_FAILURE() << "pipe failed";
    return {};
  }
  std::fflush(nullptr);  // nothing buffered is written twice
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipeFds[0]);
    ::alarm(seconds);  // a child stuck on an unanswered dialog ends instead of hanging the test
    if (!prepare()) ::_exit(kSetUpFailed);
    std::string text;
    int code = 1;
    try {
      code = body(text) ? 0 : 1;
    } catch (const std::exception& e) {
      text += std::string("threw: ") + e.what();
      code = kThrew;
    }
    for (std::size_t at = 0; at < text.size();) {
      ssize_t n = ::write(pipeFds[1], text.data() + at, text.size() - at);
      if (n <= 0) break;
      at += static_cast<std::size_t>(n);
    }
    ::_exit(code);  // no destructors, handlers or buffers of the parent's run
  }
  ::close(pipeFds[1]);
  if (pid < 0) {
    ::close(pipeFds[0]);
    ADD_FAILURE() << "fork failed";
    return {};
  }
  ChildResult result;
  char chunk[4096];
  for (ssize_t n; (n = ::read(pipeFds[0], chunk, sizeof chunk)) > 0;)
    result.text.append(chunk, static_cast<std::size_t>(n));
  ::close(pipeFds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) {
    ADD_FAILURE() << "the child did not finish in time; it said: " << result.text;
  } else if (WIFSIGNALED(status)) {
    ADD_FAILURE() << "the child died of signal " << WTERMSIG(status)
                  << "; it said: " << result.text;
  } else if (WEXITSTATUS(status) == kSetUpFailed) {
    ADD_FAILURE() << "the child could not set up its conditions";
  } else if (WEXITSTATUS(status) == kThrew) {
    ADD_FAILURE() << "the child " << result.text;
  }
  result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return result;
}

}  // namespace

ChildResult RunUnprivileged(const ChildBody& body) {
  return RunInChild(
      [] {
        constexpr uid_t kNobody = 65534;
        if (::geteuid() != 0) return true;
        return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
      },
      body);
}

ChildResult RunWithTimeLimit(unsigned seconds, const ChildBody& body) {
  return RunInChild([] { return true; }, body, seconds);
}

ChildResult RunWithFileSizeLimit(rlim_t bytes, const ChildBody& body) {
  return RunInChild(
      [bytes] {
        rlimit limit{};
        if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
        limit.rlim_cur = bytes;
        return ::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
      },
      body);
}

Unprivileged::Unprivileged() {
  constexpr uid_t kNobody = 65534;
  wasRoot_ = ::geteuid() == 0;
  if (!wasRoot_) return;
  groups_.resize(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
  if (::getgroups(static_cast<int>(groups_.size()), groups_.data()) < 0) groups_.clear();
  group_ = ::getegid();
  // Only the effective ids change, so that root's can be taken back.
  if (::setgroups(0, nullptr) != 0 || ::setegid(kNobody) != 0 || ::seteuid(kNobody) != 0)
    ADD_FAILURE() << "could not drop root's rights";
}

Unprivileged::~Unprivileged() {
  if (!wasRoot_) return;
  if (::seteuid(0) != 0 || ::setegid(group_) != 0 ||
      ::setgroups(groups_.size(), groups_.data()) != 0) {
    std::fputs("could not take root's rights back\n", stderr);
    std::abort();  // every later test would run with the wrong rights
  }
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
  rlimit limit{};
  bool set = ::getrlimit(RLIMIT_FSIZE, &saved_) == 0;
  limit = saved_;
  limit.rlim_cur = bytes;
  savedHandler_ = ::signal(SIGXFSZ, SIG_IGN);
  set = set && savedHandler_ != SIG_ERR && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  if (!set) ADD_FAILURE() << "could not limit the file size";
}

FileSizeLimit::~FileSizeLimit() {
  ::setrlimit(RLIMIT_FSIZE, &saved_);
  if (savedHandler_ != SIG_ERR) ::signal(SIGXFSZ, savedHandler_);
}

void OpenToOthers(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  const auto readable = fs::perms::group_read | fs::perms::others_read;
  const auto enterable = fs::perms::group_exec | fs::perms::others_exec;
  fs::permissions(folder, readable | enterable, fs::perm_options::add);
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    fs::permissions(entry.path(), entry.is_directory() ? readable | enterable : readable,
                    fs::perm_options::add);
  }
}

}  // namespace velunorh::test
