#include <algorithm>
#include <array>
#include <cstring>

#include "platform/win32/adapters.h"

namespace platform::win32 {

namespace {

// The reply record and room for the echoed data; the record's size, and so
// the buffer's, differs between the architectures. A larger payload gets
// room for all of itself and 8 bytes more, for the ICMP error a router may
// send back instead of the echo.
constexpr DWORD kReplyDataRoom = 250;
constexpr DWORD kReplyErrorRoom = 8;
constexpr DWORD ReplyBufferSize(std::size_t payloadSize) {
  return sizeof(ICMP_ECHO_REPLY) +
         std::max<DWORD>(kReplyDataRoom, static_cast<DWORD>(payloadSize) + kReplyErrorRoom);
}
static_assert(sizeof(void*) != 4 || ReplyBufferSize(9) == 278);

// An echo handle, closed through the late-bound entry point.
class EchoHandle {
 public:
  EchoHandle(HANDLE handle, decltype(&IcmpCloseHandle) close) : handle_(handle), close_(close) {}
  EchoHandle(const EchoHandle&) = delete;
  EchoHandle& operator=(const EchoHandle&) = delete;
  ~EchoHandle() {
    if (*this) close_(handle_);
  }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
  decltype(&IcmpCloseHandle) close_;
};

}  // namespace

std::optional<SocketStartup> Win32SocketLibrary::Start(std::uint16_t version) {
  const auto startup = library_.Entry("WSAStartup", startup_);
  if (!startup) return std::nullopt;
  WSADATA data{};
  const int result = startup(version, &data);
  return SocketStartup{result, data.wVersion, data.iMaxSockets};
}

std::optional<int> Win32SocketLibrary::Cleanup() {
  const auto cleanup = library_.Entry("WSACleanup", cleanup_);
  if (!cleanup) return std::nullopt;
  return cleanup();
}

std::optional<std::vector<Ipv4Address>> Win32SocketLibrary::LookUpHost(const std::string& name) {
  const auto lookup = library_.Entry("gethostbyname", lookup_);
  if (!lookup) return std::nullopt;
  // The answer belongs to the library and is overwritten by its next call:
  // copy it out at once.
  std::vector<Ipv4Address> addresses;
  const hostent* answer = lookup(name.c_str());
  if (!answer || answer->h_addrtype != AF_INET || answer->h_length != sizeof(Ipv4Address)) {
    return addresses;
  }
  for (char** entry = answer->h_addr_list; entry && *entry; ++entry) {
    Ipv4Address address;
    std::memcpy(address.data(), *entry, address.size());
    addresses.push_back(address);
  }
  return addresses;
}

std::optional<std::uint32_t> Win32IcmpEcho::Echo(const Ipv4Address& address,
                                                 std::span<const std::uint8_t> payload,
                                                 std::uint32_t timeoutMs,
                                                 bool dontFragment) {
  const auto create = library_.Entry("IcmpCreateFile", create_);
  const auto send = library_.Entry("IcmpSendEcho", send_);
  const auto close = library_.Entry("IcmpCloseHandle", close_);
  if (!create || !send || !close) return std::nullopt;

  const EchoHandle handle(create(), close);
  if (!handle) return IP_GENERAL_FAILURE;
  IPAddr destination;
  std::memcpy(&destination, address.data(), sizeof destination);
  std::vector<std::uint8_t> request(payload.begin(), payload.end());
  // Zero-filled for every echo; the record at its start is read by copying.
  std::vector<std::uint8_t> reply(ReplyBufferSize(request.size()));
#ifdef _WIN64
  // The 64-bit library reads the request's options in their 32-bit layout.
  IP_OPTION_INFORMATION32 options{};
#else
  IP_OPTION_INFORMATION options{};
#endif
  options.Ttl = 128;
  options.Flags = IP_FLAG_DF;
  // Without the flag the request goes as it always has, without options.
  const auto requestOptions =
      dontFragment ? reinterpret_cast<PIP_OPTION_INFORMATION>(&options) : nullptr;
  const DWORD replies = send(handle.get(), destination, request.data(),
                             static_cast<WORD>(request.size()),
                             requestOptions, reply.data(),
                             static_cast<DWORD>(reply.size()), timeoutMs);
  const DWORD error = GetLastError();
  ICMP_ECHO_REPLY record;
  std::memcpy(&record, reply.data(), sizeof record);
  if (replies != 0 || record.Status != IP_SUCCESS) return record.Status;
  // The call failed without storing a status, and the zero-filled record
  // would read as success: report why it failed instead.
  return error != 0 ? error : IP_GENERAL_FAILURE;
}

}  // namespace platform::win32
