// The fixed places of the program on Linux. The program folder is the folder of the running
// executable (resolved through /proc/self/exe, so a symbolic link in a bin folder works); the
// report format and style files live there. Per-user settings and work files follow the XDG
// conventions, because a program folder is not writable for users.
#pragma once

#include <string>

namespace kuvelt::paths {

// Folder of the running executable, without a trailing "/".
std::string ProgramFolder();
// File name of the running executable without folder and extension ("Kuvelt").
std::string ProgramName();

// $XDG_CONFIG_HOME (else ~/.config) + "/Vostrand".
std::string UserConfigFolder();
// $XDG_DATA_HOME (else ~/.local/share) + "/Vostrand".
std::string UserDataFolder();

// $TMPDIR when set and not empty, else "/tmp".
std::string TempFolder();

// "dir/name" joined with exactly one "/".
std::string Join(const std::string& dir, const std::string& name);

}  // namespace kuvelt::paths
