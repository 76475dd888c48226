#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <system_error>
#include <vector>

namespace kavoro {

// How far a long copy, move or delete has come: `done` of `total` units and the item at hand,
// as the views show its name (`total` is 0 while the items are still being counted). Called about
// every 50 ms; returning false stops the operation.
using OperationProgress =
    std::function<bool(std::uint64_t done, std::uint64_t total, const QString& item)>;

struct TreeResult {
  std::error_code error;       // the first failure
  std::filesystem::path item;  // the item it is about
  bool cancelled = false;
  std::vector<std::filesystem::path> skipped;  // pipes, sockets and devices, not copied
  bool Ok() const { return !error && !cancelled; }
};

// Copies a file, a link or a folder with everything in it to the new name `to`, which must
// not exist. Dates of change and access and permissions are kept, holes of sparse files stay
// holes; pipes, sockets and devices are left out and listed. A failed or stopped copy removes
// what it had made.
TreeResult CopyTree(const std::filesystem::path& from, const std::filesystem::path& to,
                    const OperationProgress& progress = {});

// Removes a file, a link or a folder with everything in it, for good. With `keep_special`
// pipes, sockets and devices stay, and so do the folders that hold them; a move that could
// not take them along leaves them where they were.
TreeResult RemoveTree(const std::filesystem::path& path, bool keep_special = false,
                      const OperationProgress& progress = {});

}  // namespace kavoro
