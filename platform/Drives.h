#pragma once
// Drives and volumes: which drive letters exist, whether a drive holds a
// medium, and a volume's label.

#include <cstdint>
#include <string>

namespace platform {

class Drives {
 public:
  virtual ~Drives() = default;

  // GetLogicalDrives: bit 0 is A:, bit 25 is Z:.
  virtual std::uint32_t LogicalDrives() = 0;

  // SetCurrentDirectoryA. Fails when the drive holds no medium that can be
  // reached; on success the path stays the process's current directory.
  virtual bool ChangeDirectory(const std::string& path) = 0;

  // GetVolumeInformationA on a root such as "A:\", with 260-byte buffers
  // for the label and the file-system name. False when the query fails, and
  // then `label` is left as it was.
  virtual bool VolumeLabel(const std::string& root, std::string& label) = 0;
};

}  // namespace platform
