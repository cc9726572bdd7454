#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zv {

// SHA-256 over bytes fed in pieces, so a file of any size is hashed through a
// small buffer.
class Sha256 {
  public:
    Sha256();

    void Add(const void* data, size_t size);
    void Add(std::string_view bytes) { Add(bytes.data(), bytes.size()); }
    // The digest as 64 lower-case hex digits, as sha256sum writes it. Ends the
    // hashing: add nothing after it.
    std::string HexDigest();

  private:
    void Block(const uint8_t* block);

    std::array<uint32_t, 8> state_;
    std::array<uint8_t, 64> buffer_{};
    size_t buffered_ = 0;
    uint64_t length_ = 0;  // bytes added
};

// The digest of the whole file at `path`, read through a small buffer;
// `chunk` hears the bytes of each piece read (and may throw to stop).
// nullopt when the file cannot be read to its end.
std::optional<std::string> FileSha256(const std::string& path,
                                      const std::function<void(size_t bytes)>& chunk = {});

}  // namespace zv
