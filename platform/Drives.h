#pragma once
// Drives and volumes: which drive letters exist, what kind of drive each
// is, whether a drive holds a medium, and a volume's label.

#include <cstdint>
#include <string>

namespace platform {

// GetDriveTypeA's answers.
constexpr unsigned kDriveUnknown = 0;
constexpr unsigned kDriveNoRootDir = 1;
constexpr unsigned kDriveRemovable = 2;  // floppy drives, USB sticks, card readers
constexpr unsigned kDriveFixed = 3;
constexpr unsigned kDriveRemote = 4;
constexpr unsigned kDriveCdrom = 5;  // CD and DVD drives
constexpr unsigned kDriveRamDisk = 6;

class Drives {
 public:
  virtual ~Drives() = default;

  // GetLogicalDrives: bit 0 is A:, bit 25 is Z:.
  virtual std::uint32_t LogicalDrives() = 0;

  // GetDriveTypeA on a root such as "E:\": one of the kDrive constants.
  // It asks the drive's kind, not its medium: an empty drive is not touched.
  virtual unsigned DriveType(const std::string& root) = 0;

  // SetCurrentDirectoryA. Fails when the drive holds no medium that can be
  // reached; on success the path stays the process's current directory.
  virtual bool ChangeDirectory(const std::string& path) = 0;

  // GetCurrentDirectoryA: the process's current directory, empty when it
  // cannot be read.
  virtual std::string CurrentDirectory() = 0;

  // GetVolumeInformationA on a root such as "A:\", with 260-byte buffers
  // for the label and the file-system name. False when the query fails, and
  // then `label` is left as it was.
  virtual bool VolumeLabel(const std::string& root, std::string& label) = 0;
};

}  // namespace platform
