// The interface settings file "RéglagesInterface2.rg": which COM port the lap-counting box is on,
// whether it was identified at the last attempt, and which device it is. One line
// "port\tflag\tkey" ending with CR LF. Written by the start-up identification, the interface
// dialog and the loss and recovery of the wired decoder; read by them and the driver dialog.
#pragma once

#include <cstdint>
#include <string>

namespace zarvo {

// In the program folder; the same name in both editions (Windows-1252 text).
constexpr char kInterfaceSettingsFile[] = "RéglagesInterface2.rg";

constexpr int kPortNameCapacity = 6;  // "COM1" to "COM99"
constexpr int kDeviceKeyCapacity = 30;

// Device-type keys, compared exactly.
constexpr char kDeviceVexa[] = "Zarvo";
constexpr char kDeviceOrix[] = "ZarvoOrix";
constexpr char kDeviceOrixBluetooth[] = "ZarvoOrixBluetooth";

struct InterfaceSettings {
  char portName[kPortNameCapacity];
  int32_t connected;  // 1 = identified at the last attempt
  char deviceKey[kDeviceKeyCapacity];
};

// Reads the first line of the file: three tab-separated fields, blanks around them ignored. The
// port name keeps at most 5 bytes and the key at most 29, a longer field being cut; a flag that
// is not a number reads 0; missing fields are left empty. False when the file cannot be opened;
// out is then unchanged.
bool ReadInterfaceSettings(const char* path, InterfaceSettings& out);

// The file's bytes: "%s\t%d\t%s\r\n"; with the flag 0 the key is always "Zarvo".
std::string FormatInterfaceSettings(const char* portName, int32_t connected, const char* deviceKey);

// Creates or replaces the file with its one line. False when it cannot be written.
bool WriteInterfaceSettings(const char* path, const char* portName, int32_t connected,
                            const char* deviceKey);

}  // namespace zarvo
