#include "fork_server.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace vboard {
namespace {

union FdSpace {
    cmsghdr header;
    char bytes[CMSG_SPACE(sizeof(int) * kForkRequestFds)];
};

// A message of one buffer with room for the request's descriptors.
struct Message {
    Message(char* data, size_t size) : io{data, size} {
        header.msg_iov = &io;
        header.msg_iovlen = 1;
        header.msg_control = space.bytes;
        header.msg_controllen = sizeof space.bytes;
    }
    iovec io;
    msghdr header{};
    FdSpace space{};  // last: it ends in a flexible array
};

// One request: its text, and its descriptors (false at the socket's end).
bool receive(int socket, std::vector<char>& text, int (&fds)[kForkRequestFds]) {
    text.assign(kForkRequestMax, 0);
    Message message(text.data(), text.size());
    msghdr& m = message.header;
    const ssize_t n = recvmsg(socket, &m, MSG_CMSG_CLOEXEC);
    if (n <= 0) return false;
    text.resize(size_t(n));
    for (int& fd : fds) fd = -1;
    const cmsghdr* c = CMSG_FIRSTHDR(&m);
    if (c && c->cmsg_type == SCM_RIGHTS && c->cmsg_len == CMSG_LEN(sizeof(int) * kForkRequestFds))
        std::memcpy(fds, CMSG_DATA(c), sizeof fds);
    return true;
}

[[noreturn]] void run_child(std::vector<char>& text, const int (&fds)[kForkRequestFds], int socket,
                            int (*runBoard)(int, char**)) {
    signal(SIGCHLD, SIG_DFL);
    close(socket);
    dup2(fds[1], STDOUT_FILENO);
    dup2(fds[2], STDERR_FILENO);
    std::vector<std::string> words;
    for (size_t at = 0; at < text.size(); at += words.back().size() + 1)
        words.emplace_back(&text[at]);
    if (words.size() < 2 || chdir(words[0].c_str()) != 0) _exit(127);
    words.erase(words.begin());
    const int ready = dup(fds[0]);  // without close-on-exec, as a board's own
    for (size_t i = 0; i + 1 < words.size(); ++i)
        if (words[i] == "--ready-fd") words[i + 1] = std::to_string(ready);
    for (const int fd : fds) close(fd);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    std::exit(runBoard(int(words.size()), argv.data()));
}

}  // namespace

int serve_forks(int socket, int (*runBoard)(int, char**)) {
    signal(SIGCHLD, SIG_IGN);  // boards are reaped as they end
    std::vector<char> text;
    int fds[kForkRequestFds];
    while (receive(socket, text, fds)) {
        const bool whole = fds[0] >= 0 && !text.empty() && text.back() == '\0';
        const pid_t pid = whole ? fork() : kForkFailed;
        if (pid == 0) run_child(text, fds, socket, runBoard);
        for (const int fd : fds)
            if (fd >= 0) close(fd);
        const pid_t answer = pid < 0 ? kForkFailed : pid;
        if (send(socket, &answer, sizeof answer, MSG_NOSIGNAL) != ssize_t(sizeof answer)) break;
    }
    return 0;
}

pid_t request_fork(int socket, const std::string& cwd, const std::vector<std::string>& args,
                   const int (&fds)[kForkRequestFds]) {
    std::string text = cwd + '\0';
    for (const std::string& a : args) text += a + '\0';
    if (text.size() > kForkRequestMax) return kForkFailed;
    Message message(text.data(), text.size());
    msghdr& m = message.header;
    cmsghdr* c = CMSG_FIRSTHDR(&m);
    c->cmsg_level = SOL_SOCKET;
    c->cmsg_type = SCM_RIGHTS;
    c->cmsg_len = CMSG_LEN(sizeof fds);
    std::memcpy(CMSG_DATA(c), fds, sizeof fds);
    pid_t pid = kForkFailed;
    if (sendmsg(socket, &m, MSG_NOSIGNAL) != ssize_t(text.size()) ||
        recv(socket, &pid, sizeof pid, 0) != ssize_t(sizeof pid))
        return kForkFailed;
    return pid;
}

}  // namespace vboard
