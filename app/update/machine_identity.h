#pragma once

#include <string>

// The machine's identity as the update query sends it. Each source fails
// quietly and contributes its fallback text.
std::string GetCpuText();
int ReadDiskSerial(char* out); // out: at least 256 bytes
std::string GetDiskSerial();
std::string GetAdapterText();
std::string GetVolumeSerialText();
std::string GetMachineId();
std::string GetOsName();
