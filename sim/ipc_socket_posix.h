#pragma once
#include <sys/socket.h>
#include <sys/un.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace pistavox {

// Abstract-namespace address "\0pistavox-fsuipc/" + class. The returned length
// must be passed as is: the name is not NUL-terminated, so sizeof(sockaddr_un)
// would name a different socket.
inline socklen_t FsuipcSocketAddress(const std::string& window_class, sockaddr_un& address) {
  const std::string name = "pistavox-fsuipc/" + window_class;
  address = {};
  address.sun_family = AF_UNIX;
  const size_t length = std::min(name.size(), sizeof address.sun_path - 1);
  std::memcpy(address.sun_path + 1, name.data(), length);
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
}

}  // namespace pistavox
