// Boards started by forking one server instead of running vboard anew: the
// board's libraries (mGBA pulls in some 180) are loaded once per server, not
// once per mount. A client sends one datagram per board on a SOCK_SEQPACKET
// socket: the working folder, then the board's arguments (argv[0] included),
// each ended by a NUL, with the descriptors for the board's --ready-fd, its
// standard output and its standard error attached. The server answers with
// the board's process ID (kForkFailed when it could not start one).
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace vboard {

inline constexpr int kForkRequestFds = 3;  // ready, standard output, standard error
inline constexpr size_t kForkRequestMax = 64 * 1024;
inline constexpr pid_t kForkFailed = -1;

// Serves requests on socket until its other end closes; each board runs
// runBoard(argc, argv) in a child of its own, with --ready-fd's number
// replaced by the descriptor that came with the request.
int serve_forks(int socket, int (*runBoard)(int, char**));

// The client's side: asks the server on socket for one board; its process
// ID, or kForkFailed.
pid_t request_fork(int socket, const std::string& cwd, const std::vector<std::string>& args,
                   const int (&fds)[kForkRequestFds]);

}  // namespace vboard
